// The phone line tab with a country code and the answering-machine timer, and the advanced
// features tab ordering supplies from a speed dial with remote access always downloading.
#include "snapshot.h"

#include "device/lib/config.h"
#include "document/ntsmgr.h"
#include "pages/advancedpage.h"
#include "pages/phonelinepage.h"
#include "view/categorysheet.h"
#include "view/ntsview.h"

namespace snapshot {

namespace {

// Shows the tab of the general category that holds a page of that class and captures it.
template <class Page>
void CaptureGeneralTab(Album& album, const QString& name)
{
    CFrameWnd* frame = dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
    auto* view = frame ? dynamic_cast<CNtsView*>(frame->GetActiveView()) : nullptr;
    CCategorySheet* sheet = view ? view->SheetOf(0) : nullptr;
    if (!sheet)
        return;
    view->SelectCategory(0);
    for (int index = 0; index < sheet->GetPageCount(); ++index) {
        if (dynamic_cast<Page*>(sheet->GetPage(index)))
            sheet->SetActivePage(index);
    }
    album.Capture(name, frame->m_hWnd);
    sheet->SetActivePage(0);
}

void RenderLinePages(Album& album)
{
    auto* frame = dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
    auto* document = frame ? dynamic_cast<CNtsMgr*>(frame->GetActiveDocument()) : nullptr;
    if (!document)
        return;
    CConfig& record = document->config;
    record.phoneLine.line1Number = "+33 1 23 45 67 89";
    record.phoneLine.answerMode = 3;
    auto* speedDial = new CSpeedDial(5);
    speedDial->GetDialingData()->name = "Fournitures";
    record.phoneBook.Add(speedDial);
    record.advanced.remoteAccess = 1;
    record.advanced.downloadMode = 0;
    record.advanced.autoSupplyOrder = 1;
    record.advanced.orderDestinationType = 2;
    record.advanced.orderDestination = "005";
    record.advanced.tonerPartNumber = "TN-3280";
    record.advanced.tonerQuantity = 4;
    record.advanced.orderDrum = 0;
    record.advanced.drumPartNumber = "DR-3200";
    record.advanced.customerNumber = "C-1234";
    record.advanced.contactName = "Jeanne Roux";
    record.advanced.contactPhone = "0145678900";
    record.advanced.recipient = "Service achats";
    record.advanced.address = "12 rue des Lilas, 75011 Paris";
    document->UpdateAllViews(nullptr, 0, nullptr);
    CaptureGeneralTab<CPhoneLinePage>(album, QStringLiteral("phone-line-country-code"));
    CaptureGeneralTab<CAdvancedPage>(album, QStringLiteral("advanced-supplies-order"));

    const CConfig fresh;
    record.phoneLine = fresh.phoneLine;
    record.advanced = fresh.advanced;
    record.phoneBook.DeleteContents(4);
    document->SetModifiedFlag(FALSE);
    document->UpdateAllViews(nullptr, 0, nullptr);
}

} // namespace

std::vector<Subject> LinePageSubjects()
{
    return {{QStringLiteral("phone line and advanced features"), RenderLinePages}};
}

} // namespace snapshot
