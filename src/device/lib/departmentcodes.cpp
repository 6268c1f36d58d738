#include "device/lib/departmentcodes.h"

#include "device/lib/serialformat.h"

#include <utility>


IMPLEMENT_SERIAL(CDepartmentCode, CIdObject, 1)
IMPLEMENT_SERIAL(CDepartmentCodes, CObject, 1)

namespace {
CString Decimal(int n)
{
    return QString::number(n);
}
}

CDepartmentCode::CDepartmentCode(int id, int code, const CString& name, int sentPages, int receivedPages,
                                 int copiedPages)
    : CIdObject(id), code(code), name(name), sentPages(sentPages), receivedPages(receivedPages),
      copiedPages(copiedPages)
{
}

void CDepartmentCode::GetText(CStringArray& texts) const
{
    texts.RemoveAll();
    texts.Add(FormatId(GetId(), digits));
    texts.Add(FormatId(code, codeDigits));
    texts.Add(name);
    texts.Add(Decimal(sentPages));
    texts.Add(Decimal(receivedPages));
    texts.Add(Decimal(copiedPages));
}

void CDepartmentCode::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << GetId() << code << name << sentPages << receivedPages << copiedPages;
        return;
    }
    CDepartmentCode loaded(serialformat::ReadInt(ar));
    ar >> loaded.code >> loaded.name >> loaded.sentPages >> loaded.receivedPages >> loaded.copiedPages;
    *this = std::move(loaded);
}

bool operator==(const CDepartmentCode& a, const CDepartmentCode& b)
{
    return a.GetId() == b.GetId() && a.code == b.code && a.name == b.name && a.sentPages == b.sentPages
           && a.receivedPages == b.receivedPages && a.copiedPages == b.copiedPages;
}

BOOL CDepartmentCodes::Add(CDepartmentCode* entry)
{
    if (entry == nullptr || !CDepartmentCode::idRule.Allows(entry->GetId())
        || !fields::RuleOf(&CDepartmentCode::code).Allows(entry->code))
        return FALSE;
    POSITION held = nullptr;
    for (POSITION pos = GetHeadPosition(); pos != nullptr;) {
        const POSITION at = pos;
        auto* other = static_cast<CDepartmentCode*>(GetNext(pos));
        if (other == entry)
            held = at;
        else if (other->GetId() == entry->GetId() || other->code == entry->code)
            return FALSE;
    }
    if (held != nullptr)
        RemoveAt(held);
    else if (GetCount() >= CDepartmentCode::max_count)
        return FALSE;
    for (POSITION pos = GetHeadPosition(); pos != nullptr;) {
        const POSITION at = pos;
        if (static_cast<CDepartmentCode*>(GetNext(pos))->GetId() > entry->GetId()) {
            InsertBefore(at, entry);
            return TRUE;
        }
    }
    AddTail(entry);
    return TRUE;
}

CDepartmentCode* CDepartmentCodes::Get(int id) const
{
    for (POSITION pos = GetHeadPosition(); pos != nullptr;) {
        auto* entry = static_cast<CDepartmentCode*>(GetNext(pos));
        if (entry->GetId() == id)
            return entry;
    }
    return nullptr;
}

CDepartmentCode* CDepartmentCodes::FindCode(int code) const
{
    for (POSITION pos = GetHeadPosition(); pos != nullptr;) {
        auto* entry = static_cast<CDepartmentCode*>(GetNext(pos));
        if (entry->code == code)
            return entry;
    }
    return nullptr;
}

void CDepartmentCodes::Delete(CDepartmentCode* entry)
{
    if (const POSITION held = Find(entry)) {
        RemoveAt(held);
        delete entry;
    }
}
