// Client (department) codes: the code a user types before a job, with the job counters.
#pragma once

#include "device/lib/fields.h"
#include "device/lib/idobject.h"
#include "device/lib/owninglist.h"

// ID 1 to 99 (1 is the master code), code 0 to 99999.
class CDepartmentCode : public CIdObject {
    DECLARE_SERIAL(CDepartmentCode)
public:
    static const int& max_count;   // capacities.h
    static constexpr int digits = 2;
    static constexpr int highestCode = 99999;
    static constexpr int codeDigits = 5;

    explicit CDepartmentCode(int id = 0, int code = 0, const CString& name = CString(), int sentPages = 0,
                             int receivedPages = 0, int copiedPages = 0);

    // ID, code, name, pages sent, received, copied.
    void GetText(CStringArray& texts) const override;

    // Loading reads into a fresh code and assigns it only once all of it was read.
    void Serialize(CArchive& ar) override;

    friend bool operator==(const CDepartmentCode& a, const CDepartmentCode& b);

    int code;
    CString name;
    int sentPages;
    int receivedPages;
    int copiedPages;

    // The ID is no field of the table (the entry keeps it), but has its rule too.
    static constexpr fields::Rule idRule = fields::Number(1, 99);

    // The code's fields and their rules (fields.h); serialised by Serialize after the ID.
    template <class Visit>
    static void Fields(Visit&& visit)
    {
        using C = CDepartmentCode;
        using namespace fields;
        visit("code", &C::code, Number(0, highestCode));
        visit("name", &C::name, Text(20));
        visit("sentPages", &C::sentPages, Any());
        visit("receivedPages", &C::receivedPages, Any());
        visit("copiedPages", &C::copiedPages, Any());
    }
};

// The client codes, in ascending ID order; the list owns them.
class CDepartmentCodes : public COwningList<CDepartmentCodes, CDepartmentCode> {
    DECLARE_SERIAL(CDepartmentCodes)
public:
    // Takes the code into the list, or puts a code already in it back in ID order. 0, and the
    // code stays the caller's, when another code has its ID or its code, or the ID or the
    // code lies outside its range.
    BOOL Add(CDepartmentCode* entry);
    // The code with that ID, or with that code; nullptr when there is none.
    CDepartmentCode* Get(int id) const;
    CDepartmentCode* FindCode(int code) const;
    // Destroys a code held by the list (others are left alone).
    void Delete(CDepartmentCode* entry);
};
