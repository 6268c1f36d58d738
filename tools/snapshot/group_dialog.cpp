// The group entry dialog of the directory, on a group with members, opened from its page.
#include "snapshot.h"

#include "device/lib/phonebook.h"
#include "directory/directorypages.h"
#include "document/ntsmgr.h"
#include "view/categorysheet.h"
#include "view/ntsview.h"

namespace snapshot {

namespace {

constexpr int directoryCategory = 2;
constexpr int groupTab = 2;

// Speed dials, keys of their own and one for a speed dial, and a group of two speed dials
// and a key.
CGroupDial* FillPhoneBook(CPhoneBook& book)
{
    const char* const agencies[] = {"Agence Lyon", "Agence Lille", "Agence Nantes", "Siège Paris"};
    for (int n = 1; n <= 4; ++n) {
        auto* speedDial = new CSpeedDial(n);
        speedDial->GetDialingData()->name = agencies[n - 1];
        speedDial->GetDialingData()->faxNumber = CString("04720000") + FormatId(n, 2);
        book.Add(speedDial);
    }
    const char* const keys[] = {"Hôtel Bellevue", "Mairie", "Atelier"};
    for (int n = 1; n <= 3; ++n) {
        CDialingData* record = book.NewDialingData();
        record->name = keys[n - 1];
        record->faxNumber = CString("02998877") + FormatId(n, 2);
        book.Add(new COneTouch(n, record));
    }
    book.Add(new COneTouch(4, book.GetSpeedDial(4)));
    auto* group = new CGroupDial(1, "Équipe jour");
    group->members.AddTail(book.GetSpeedDial(1));
    group->members.AddTail(book.GetOneTouch(2));
    group->members.AddTail(book.GetSpeedDial(3));
    book.Add(group);
    return group;
}

void CaptureGroupEntry(Album& album)
{
    auto* frame = dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
    auto* view = frame ? dynamic_cast<CNtsView*>(frame->GetActiveView()) : nullptr;
    auto* document = view ? dynamic_cast<CNtsMgr*>(view->GetDocument()) : nullptr;
    if (!document)
        return;
    CPhoneBook& book = document->config.phoneBook;
    CGroupDial* group = FillPhoneBook(book);
    view->SelectCategory(directoryCategory);
    if (CCategorySheet* sheet = view->SheetOf(directoryCategory); sheet && sheet->SetActivePage(groupTab)) {
        auto* page = dynamic_cast<CGroupDialPage*>(sheet->GetPage(groupTab));
        CaptureModal(album, QStringLiteral("dialog-group-entry"), [&] { page->OpenEntryDialog(group); });
        sheet->SetActivePage(0);
    }
    book.DeleteContents(4);
    document->SetModifiedFlag(FALSE);
    document->UpdateAllViews(nullptr, 0, nullptr);
    view->SelectCategory(0);
}

} // namespace

std::vector<Subject> GroupDialogSubjects()
{
    return {{QStringLiteral("group entry"), CaptureGroupEntry}};
}

} // namespace snapshot
