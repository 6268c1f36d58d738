// Numbered entries of the directory and the client codes, and the helpers around numbers.
#pragma once

#include "afx/afx.h"

// An entry known by its number (speed dial, one-touch key, group dial, client code).
class CIdObject : public CObject {
    DECLARE_DYNAMIC(CIdObject)
public:
    explicit CIdObject(int id = 0) : id(id) {}

    int GetId() const { return id; }
    void SetId(int newId) { id = newId; }

    // The texts of the entry's row in a list, first of all its number as shown.
    virtual void GetText(CStringArray& texts) const = 0;

private:
    int id;
};

// `n` in decimal, padded with zeros to `digits` characters.
CString FormatId(int n, int digits);

// The nearest number above `from` (below it when `down`) that no CIdObject of `list` holds.
// Going down it may reach 0 or less; going up it may pass the entries' highest number:
// callers check the result against their range.
int NextAvailableId(const CObList& list, int from, BOOL down);
