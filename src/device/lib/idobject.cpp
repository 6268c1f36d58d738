#include "device/lib/idobject.h"

#include <unordered_set>

IMPLEMENT_DYNAMIC(CIdObject, CObject)

CString FormatId(int n, int digits)
{
    return QString::asprintf("%0*d", digits, n);
}

int NextAvailableId(const CObList& list, int from, BOOL down)
{
    std::unordered_set<int> held;
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
        if (auto* entry = DYNAMIC_DOWNCAST(CIdObject, list.GetNext(pos)))
            held.insert(entry->GetId());
    }
    const int step = down ? -1 : 1;
    int n = from + step;
    while (held.count(n) != 0)
        n += step;
    return n;
}
