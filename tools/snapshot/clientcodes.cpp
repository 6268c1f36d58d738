// The "Code client" tab with a dozen codes, the master-code dialog and the code dialog.
#include "snapshot.h"

#include "offscreen.h"

#include "clientcodes/clientcodedlgs.h"
#include "clientcodes/clientcodepage.h"
#include "device/lib/departmentcodes.h"
#include "document/ntsmgr.h"
#include "res/resource.h"
#include "view/categorysheet.h"
#include "view/ntsview.h"

namespace snapshot {

namespace {

constexpr int kMasterCode = 24680;

CNtsView* View()
{
    CFrameWnd* frame = dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
    return frame ? dynamic_cast<CNtsView*>(frame->GetActiveView()) : nullptr;
}

CClientCodePage* Page(CCategorySheet& sheet)
{
    for (int index = 0; index < sheet.GetPageCount(); ++index) {
        if (auto* page = dynamic_cast<CClientCodePage*>(sheet.GetPage(index)))
            return page;
    }
    return nullptr;
}

// The master-code dialog answered with the code, the rest as at start-up.
class MasterCodeAnswer : public offscreen::StartAnswers {
public:
    int Answer(afx::Prompt& prompt) override
    {
        if (prompt.kind == afx::PromptKind::Dialog && prompt.templateId == IDD_MASTER_CODE) {
            prompt.dialog->SetDlgItemText(IDC_MASTER_CODE, QString::number(kMasterCode));
            prompt.dialog->GetDlgItem(IDOK)->SendMessage(BM_CLICK);
        }
        return StartAnswers::Answer(prompt);
    }
};

void FillCodes(CDepartmentCodes& codes)
{
    CString master;
    master.LoadString(IDS_MASTER_CODE_NAME);
    codes.DeleteContents();
    codes.Add(new CDepartmentCode(1, kMasterCode, master, 12, 4, 30));
    const char* const names[] = {"Comptabilité", "Achats", "Direction", "Atelier", "Ventes", "Juridique",
                                 "Accueil", "Logistique", "Qualité", "Paie", "Informatique"};
    int id = 2;
    for (const char* name : names) {
        codes.Add(new CDepartmentCode(id, id * 1111 % 100000, CString(name), id * 7, id * 3, id * 11));
        id += id < 6 ? 1 : 3;
    }
}

// The tab open on a dozen codes, then its two dialogs.
void RenderClientCodes(Album& album)
{
    CNtsView* view = View();
    CCategorySheet* sheet = view ? view->SheetOf(0) : nullptr;
    CClientCodePage* page = sheet ? Page(*sheet) : nullptr;
    if (!page)
        return;
    auto* document = static_cast<CNtsMgr*>(view->GetDocument());
    FillCodes(*page->clientCodes);
    document->UpdateAllViews(nullptr, 0, nullptr);
    view->SelectCategory(0);
    {
        MasterCodeAnswer answer;
        afx::PromptAnswerer* previous = afx::SetPromptAnswerer(&answer);
        sheet->SetActivePage(page);
        afx::SetPromptAnswerer(previous);
    }
    page->list.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
    album.Capture(QStringLiteral("client-codes"), AfxGetMainWnd()->m_hWnd);

    CMasterCodeDlg master(page->clientCodes, page);
    CaptureModal(album, QStringLiteral("dialog-master-code"), master);
    CClientCodeEntryDlg entry(page->clientCodes, page->clientCodes->Get(3), page);
    CaptureModal(album, QStringLiteral("dialog-client-code"), entry);
    CClientCodeEntryDlg newCode(page->clientCodes, nullptr, page);
    CaptureModal(album, QStringLiteral("dialog-client-code-new"), newCode);

    page->clientCodes->DeleteContents();
    document->SetModifiedFlag(FALSE);
    sheet->SetActivePage(0);
    document->UpdateAllViews(nullptr, 0, nullptr);
}

} // namespace

std::vector<Subject> ClientCodeSubjects()
{
    return {{QStringLiteral("client codes"), RenderClientCodes}};
}

} // namespace snapshot
