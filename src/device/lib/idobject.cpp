#include "device/lib/idobject.h"

#include <unordered_set>

IMPLEMENT_DYNAMIC(CIdObject, CObject)

CString FormatId(int n, int digits)
{
    // Every row of a list is numbered through here: no format to parse for the usual case.
    if (n < 0)
        return QString::asprintf("%0*d", digits, n);
    return QString::number(n).rightJustified(digits, u'0');
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
