#include "device/lib/mailboxes.h"

#include <utility>

IMPLEMENT_SERIAL(CMailBox, CObject, 1)
IMPLEMENT_SERIAL(CMailBoxes, CObject, 1)

namespace {
constexpr DWORD minStringBytes = 4;
}

CMailBox::CMailBox(const CString& number, const CString& password, int type, const CStringArray* destinations,
                   int reportDestKind, const CString& reportDest)
    : number(number), type(type), password(password), reportDestKind(reportDestKind), reportDest(reportDest)
{
    if (destinations != nullptr)
        this->destinations.Copy(*destinations);
}

void CMailBox::GetText(CStringArray& texts) const
{
    static const char* const typeTexts[] = {"Confidentiel", "Babillard", "Relais"};
    texts.RemoveAll();
    texts.Add(number);
    texts.Add(type >= 0 && type < 3 ? CString(typeTexts[type]) : CString());
}

void CMailBox::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << number << type << password;
        ar.WriteCount(static_cast<DWORD>(destinations.GetSize()));
        for (INT_PTR i = 0; i < destinations.GetSize(); ++i)
            ar << destinations[i];
        ar << reportDestKind << reportDest;
        return;
    }
    CMailBox loaded;
    ar >> loaded.number >> loaded.type >> loaded.password;
    loaded.destinations.SetSize(ar.ReadCount(static_cast<DWORD>(max_relay_dest_count), minStringBytes));
    for (INT_PTR i = 0; i < loaded.destinations.GetSize(); ++i)
        ar >> loaded.destinations[i];
    ar >> loaded.reportDestKind >> loaded.reportDest;
    *this = std::move(loaded);
}

bool operator==(const CMailBox& a, const CMailBox& b)
{
    if (a.destinations.GetSize() != b.destinations.GetSize())
        return false;
    for (INT_PTR i = 0; i < a.destinations.GetSize(); ++i) {
        if (a.destinations[i] != b.destinations[i])
            return false;
    }
    return a.number == b.number && a.type == b.type && a.password == b.password
           && a.reportDestKind == b.reportDestKind && a.reportDest == b.reportDest;
}

BOOL CMailBoxes::Add(CMailBox* mailBox)
{
    if (mailBox == nullptr)
        return FALSE;
    CMailBox* holder = Get(mailBox->number);
    if (holder != nullptr && holder != mailBox)
        return FALSE;
    if (Find(mailBox) != nullptr)
        return TRUE;
    if (GetCount() >= CMailBox::max_count)
        return FALSE;
    AddTail(mailBox);
    return TRUE;
}

CMailBox* CMailBoxes::Get(const CString& number) const
{
    for (POSITION pos = GetHeadPosition(); pos != nullptr;) {
        auto* mailBox = static_cast<CMailBox*>(GetNext(pos));
        if (mailBox->number == number)
            return mailBox;
    }
    return nullptr;
}

BOOL CMailBoxes::IsBusy(const CString& number) const
{
    for (INT_PTR i = 0; i < busyNumbers.GetSize(); ++i) {
        if (busyNumbers[i] == number)
            return TRUE;
    }
    return FALSE;
}
