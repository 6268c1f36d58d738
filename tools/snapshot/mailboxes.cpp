// The "Boîte aux lettres" page with a dozen mailboxes, the mailbox dialog of each type and the
// relay destination dialog.
#include "snapshot.h"

#include "device/lib/mailboxes.h"
#include "device/lib/phonebook.h"
#include "document/ntsmgr.h"
#include "mailboxes/mailboxdlgs.h"
#include "mailboxes/mailboxpage.h"
#include "view/categorysheet.h"
#include "view/ntsview.h"

namespace snapshot {

namespace {

CNtsView* View()
{
    CFrameWnd* frame = dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
    return frame ? dynamic_cast<CNtsView*>(frame->GetActiveView()) : nullptr;
}

void FillDirectory(CPhoneBook& book)
{
    const char* const speedNames[] = {"Cabinet Morel", "Imprimerie Roux", "Mairie", "Notaire Blanc"};
    int number = 3;
    for (const char* name : speedNames) {
        auto* entry = new CSpeedDial(number);
        entry->GetDialingData()->name = CString(name);
        entry->GetDialingData()->faxNumber = "01 40 50 60 " + CString(QString::number(10 + number));
        if (!book.Add(entry))
            delete entry;
        number += 9;
    }
    CDialingData* record = book.NewDialingData();
    record->name = "Siège";
    record->faxNumber = "04 72 00 00 01";
    auto* key = new COneTouch(5, record);
    if (!book.Add(key))
        delete key;
    auto* group = new CGroupDial(7, "Agences");
    if (!book.Add(group))
        delete group;
}

void FillMailBoxes(CMailBoxes& boxes)
{
    boxes.DeleteContents();
    const char* const numbers[] = {"1", "7", "12", "18", "25", "31", "40", "52", "64", "75", "88", "100"};
    int type = 0;
    for (const char* n : numbers) {
        CStringArray destinations;
        if (type == 2) {
            destinations.Add("05");
            destinations.Add("003");
            destinations.Add("0007");
        }
        auto* box = new CMailBox(CString(n), type == 0 ? CString("1234") : CString(), type, &destinations, 0,
                                 type == 2 ? CString("0140506070") : CString());
        if (!boxes.Add(box))
            delete box;
        type = (type + 1) % 3;
    }
}

void RenderMailBoxes(Album& album)
{
    CNtsView* view = View();
    if (!view)
        return;
    CCategorySheet* sheet = nullptr;
    CMailBoxPage* page = nullptr;
    int category = 0;
    for (int index = 0; index < int(view->categoryWindows.size()) && !page; ++index) {
        sheet = view->SheetOf(index);
        for (int at = 0; sheet && at < sheet->GetPageCount() && !page; ++at) {
            page = dynamic_cast<CMailBoxPage*>(sheet->GetPage(at));
            category = index;
        }
    }
    if (!page)
        return;
    auto* document = static_cast<CNtsMgr*>(view->GetDocument());
    FillDirectory(document->config.phoneBook);
    FillMailBoxes(document->config.mailBoxes);
    document->UpdateAllViews(nullptr, 0, nullptr);
    view->SelectCategory(category);
    sheet->SetActivePage(page);
    page->list.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
    album.Capture(QStringLiteral("mailboxes"), AfxGetMainWnd()->m_hWnd);

    CMailBoxes& boxes = document->config.mailBoxes;
    CMailBoxEntryDlg confidential(&boxes, &document->config.phoneBook, boxes.Get("1"), page);
    CaptureModal(album, QStringLiteral("dialog-mailbox-confidential"), confidential);
    CMailBoxEntryDlg bulletin(&boxes, &document->config.phoneBook, boxes.Get("7"), page);
    CaptureModal(album, QStringLiteral("dialog-mailbox-bulletin"), bulletin);
    CMailBoxEntryDlg relay(&boxes, &document->config.phoneBook, boxes.Get("12"), page);
    CaptureModal(album, QStringLiteral("dialog-mailbox-relay"), relay);
    CRelayDestDlg destinations(&document->config.phoneBook, CMailBox::max_relay_dest_count - 3, page);
    CaptureModal(album, QStringLiteral("dialog-relay-destinations"), destinations);

    boxes.DeleteContents();
    document->config.phoneBook.DeleteContents(4);
    document->SetModifiedFlag(FALSE);
    view->SelectCategory(0);
    document->UpdateAllViews(nullptr, 0, nullptr);
}

} // namespace

std::vector<Subject> MailBoxSubjects()
{
    return {{QStringLiteral("mailboxes"), RenderMailBoxes}};
}

} // namespace snapshot
