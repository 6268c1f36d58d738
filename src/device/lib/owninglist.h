// A list of the record that owns its entries: it destroys them, hands them over whole, and
// serialises them one after the other.
#pragma once

#include "device/lib/serialformat.h"

#include <memory>
#include <utility>

// `Derived` provides BOOL Add(Entry*), which refuses an entry that would break the list's
// rules (a taken number, a full list); `Entry` provides Serialize and its capacity max_count.
template <class Derived, class Entry>
class COwningList : public CObList {
public:
    COwningList() = default;
    COwningList(const COwningList&) = delete;
    COwningList& operator=(const COwningList&) = delete;
    ~COwningList() override { DeleteContents(); }

    // Destroys every entry.
    void DeleteContents()
    {
        while (!IsEmpty())
            delete RemoveHead();
    }

    // Takes over the entries of `other`, which is empty afterwards; ours are destroyed.
    void TakeContents(Derived& other)
    {
        if (&other == this)
            return;
        DeleteContents();
        CObList::operator=(std::move(static_cast<CObList&>(other)));
    }

    // A count, then the entries in list order. Loading takes each entry through Add into a
    // fresh list, and replaces ours only once all were read.
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring()) {
            ar.WriteCount(static_cast<DWORD>(GetCount()));
            for (POSITION pos = GetHeadPosition(); pos != nullptr;)
                GetNext(pos)->Serialize(ar);
            return;
        }
        Derived loaded;
        // Every entry begins with a 4-byte value.
        for (DWORD n = ar.ReadCount(static_cast<DWORD>(Entry::max_count), 4); n > 0; --n) {
            auto entry = std::make_unique<Entry>();
            entry->Serialize(ar);
            serialformat::Require(loaded.Add(entry.get()));
            entry.release();
        }
        TakeContents(loaded);
    }
};
