// Message maps: derived entries before base ones, a dialog's buttons as commands, reflection,
// ON_MESSAGE, ON_NOTIFY, and the window messages made from Qt events.
#include "scripts.h"
#include "support/pick.h"

#include <QApplication>
#include <QFocusEvent>
#include <QImage>
#include <QTest>
#include <functional>

using namespace testwin;

namespace {

class CBaseDlg : public CDialog {
public:
    CBaseDlg() : CDialog(IDD_FORM) {}
    std::vector<std::string> calls;
    void OnOK() override { calls.push_back("OnOK"); CDialog::OnOK(); }
    void OnActive() { calls.push_back("base active"); }
    void OnChoice() { calls.push_back("base choice"); }
    LRESULT OnPing(WPARAM wParam, LPARAM lParam) { calls.push_back("base ping"); return LRESULT(wParam + lParam); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseDlg, CDialog)
    ON_BN_CLICKED(IDC_ACTIVE, &CBaseDlg::OnActive)
    ON_CBN_SELCHANGE(IDC_CHOICE, &CBaseDlg::OnChoice)
    ON_MESSAGE(WM_APP + 1, &CBaseDlg::OnPing)
END_MESSAGE_MAP()

class CDerivedDlg : public CBaseDlg {
public:
    void OnActiveHere() { calls.push_back("derived active"); }
    void OnRadio(UINT id) { calls.push_back("radio " + std::to_string(id)); }
    void OnNotifyCode(NMHDR* header, LRESULT* result)
    {
        calls.push_back("notify " + std::to_string(header->idFrom));
        *result = 77;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedDlg, CBaseDlg)
    ON_BN_CLICKED(IDC_ACTIVE, &CDerivedDlg::OnActiveHere)
    ON_COMMAND_RANGE(IDC_RADIO_A, IDC_RADIO_C, &CDerivedDlg::OnRadio)
    ON_NOTIFY(0x1234, IDC_NAME, &CDerivedDlg::OnNotifyCode)
END_MESSAGE_MAP()

class MessageMapTest : public ScriptedDialogs {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dialog.Create(IDD_FORM));
        dialog.m_hWnd->show();
        dialog.calls.clear();
    }
    CDerivedDlg dialog;
};

TEST_F(MessageMapTest, DerivedEntriesComeBeforeBaseOnes)
{
    QTest::mouseClick(Widget(&dialog, IDC_ACTIVE), Qt::LeftButton);
    PickComboItem(Widget(&dialog, IDC_LEVEL), 1);   // no entry anywhere
    static_cast<CComboBox*>(dialog.GetDlgItem(IDC_CHOICE))->AddString("Un");
    PickComboItem(Widget(&dialog, IDC_CHOICE), 0);
    QTest::mouseClick(Widget(&dialog, IDC_RADIO_B), Qt::LeftButton);
    EXPECT_EQ(dialog.calls, (std::vector<std::string>{"derived active", "base choice", "radio 1011"}));
    EXPECT_EQ(dialog.SendMessage(WM_APP + 1, 2, 3), 5);
    EXPECT_EQ(dialog.SendMessage(WM_APP + 2, 2, 3), 0);   // unmapped: the standard handling
}

// Windows notifies a combo box's selection change for a user's choice only, so a page that
// loads its controls never hears itself.
TEST_F(MessageMapTest, ComboBoxNotifiesTheUsersChoiceOnly)
{
    auto* choice = static_cast<CComboBox*>(dialog.GetDlgItem(IDC_CHOICE));
    for (const char* item : {"Jamais", "Si erreur", "Toujours"})
        choice->AddString(item);
    QWidget* widget = choice->m_hWnd;
    struct Case {
        const char* name;
        std::function<void()> act;
        int selected;
        bool notified;
    };
    const Case cases[] = {
        {"SetCurSel", [&] { choice->SetCurSel(1); }, 1, false},
        {"CB_SETCURSEL", [&] { choice->SendMessage(CB_SETCURSEL, 2); }, 2, false},
        {"click on an item", [&] { PickComboItem(widget, 2); }, 2, true},
        {"click on the item already chosen", [&] { PickComboItem(widget, 2); }, 2, true},
        {"Up key", [&] { QTest::keyClick(widget, Qt::Key_Up); }, 1, true},
        {"Down key", [&] { QTest::keyClick(widget, Qt::Key_Down); }, 2, true},
        {"Down key on the last item", [&] { QTest::keyClick(widget, Qt::Key_Down); }, 2, false},
        {"typed first letter", [&] { QTest::keyClick(widget, 'j'); }, 0, true},
    };
    widget->setFocus();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dialog.calls.clear();
        c.act();
        EXPECT_EQ(choice->GetCurSel(), c.selected) << c.name;
        EXPECT_EQ(dialog.calls, c.notified ? std::vector<std::string>{"base choice"} : std::vector<std::string>{})
            << c.name;
    }
}

TEST_F(MessageMapTest, ButtonsOfADialogAreCommands)
{
    dialog.GetDlgItem(IDOK)->SendMessage(BM_CLICK);
    EXPECT_EQ(dialog.calls, std::vector<std::string>{"OnOK"});
    EXPECT_TRUE(dialog.IsEnded());
    EXPECT_EQ(dialog.GetResult(), IDOK);
    EXPECT_FALSE(dialog.m_hWnd->isVisible());

    CDerivedDlg other;
    ASSERT_TRUE(other.Create(IDD_FORM));
    other.SendMessage(WM_COMMAND, IDCANCEL);   // as a menu or accelerator command
    EXPECT_EQ(other.GetResult(), IDCANCEL);
}

TEST_F(MessageMapTest, NotifyReachesItsEntryWithItsHeader)
{
    NMHDR header;
    header.code = 0x1234;
    EXPECT_EQ(afx::NotifyParent(Widget(&dialog, IDC_NAME), header), 77);
    EXPECT_EQ(header.hwndFrom, Widget(&dialog, IDC_NAME));
    header.code = 0x1235;
    EXPECT_EQ(afx::NotifyParent(Widget(&dialog, IDC_NAME), header), 0);
    EXPECT_EQ(dialog.calls, std::vector<std::string>{"notify 1000"});
}

class CUpdatingDlg : public CDialog {
public:
    CUpdatingDlg() : CDialog(IDD_FORM) {}
    BOOL allowCode = FALSE;
    void OnUpdateCode(CCmdUI* pCmdUI) { pCmdUI->Enable(allowCode); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CUpdatingDlg, CDialog)
    ON_UPDATE_COMMAND_UI(IDC_CODE, &CUpdatingDlg::OnUpdateCode)
END_MESSAGE_MAP()

TEST_F(MessageMapTest, UpdateHandlersSetTheStateOfTheirItem)
{
    CUpdatingDlg updating;
    ASSERT_TRUE(updating.Create(IDD_FORM));
    const struct { int id; BOOL allow; bool enabled; } cases[] = {
        {IDC_CODE, FALSE, false},   // its update handler decides
        {IDC_CODE, TRUE, true},
        {IDOK, FALSE, true},        // no update handler: enabled as it has a command handler
        {IDC_NAME, FALSE, false},   // neither
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "control " << c.id << (c.allow ? ", allowed" : ", not allowed"));
        CCmdUI item;
        item.m_nID = UINT(c.id);
        item.m_pOther = updating.GetDlgItem(c.id);
        updating.allowCode = c.allow;
        item.DoUpdate(&updating, TRUE);
        EXPECT_EQ(bool(item.m_pOther->IsWindowEnabled()), c.enabled) << c.id;
    }
}

class CFocusDlg : public CDialog {
public:
    CFocusDlg() : CDialog(IDD_FORM) {}
    std::vector<std::string> calls;
    void OnNameLeft() { calls.push_back("kill focus"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CFocusDlg, CDialog)
    ON_EN_KILLFOCUS(IDC_NAME, &CFocusDlg::OnNameLeft)
END_MESSAGE_MAP()

TEST_F(MessageMapTest, FocusLossNotifies)
{
    CFocusDlg focus;
    ASSERT_TRUE(focus.Create(IDD_FORM));
    focus.m_hWnd->show();
    QFocusEvent left(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(Widget(&focus, IDC_NAME), &left);
    QFocusEvent menu(QEvent::FocusOut, Qt::PopupFocusReason);   // its context menu opening
    QApplication::sendEvent(Widget(&focus, IDC_NAME), &menu);
    EXPECT_EQ(focus.calls, (std::vector<std::string>{"kill focus"}));
}

// An edit handling its own change notification, as a number field does.
class CReflectingEdit : public CEdit {
public:
    int changes = 0;
    void OnChange() { ++changes; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CReflectingEdit, CEdit)
    ON_CONTROL_REFLECT(EN_CHANGE, &CReflectingEdit::OnChange)
END_MESSAGE_MAP()

class CParentDlg : public CDialog {
public:
    CParentDlg() : CDialog(IDD_FORM) {}
    CReflectingEdit count;
    int parentSaw = 0;
    void OnCountChange() { ++parentSaw; }
    BOOL OnInitDialog() override
    {
        count.SubclassDlgItem(IDC_COUNT, this);
        return CDialog::OnInitDialog();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CParentDlg, CDialog)
    ON_EN_CHANGE(IDC_COUNT, &CParentDlg::OnCountChange)
END_MESSAGE_MAP()

TEST_F(MessageMapTest, ReflectedNotificationStaysWithTheControl)
{
    CParentDlg parent;
    ASSERT_TRUE(parent.Create(IDD_FORM));
    QTest::keyClicks(parent.count.m_hWnd, "42");
    EXPECT_EQ(parent.count.changes, 2);
    EXPECT_EQ(parent.parentSaw, 0);
    parent.UpdateData(FALSE);   // locked out, reflection included
    parent.count.SetWindowText("7");
    EXPECT_EQ(parent.count.changes, 3);
}

TEST_F(MessageMapTest, PostedMessageArrivesLaterAndNotAfterTheWindowIsGone)
{
    dialog.PostMessage(WM_APP + 1, 1, 1);
    EXPECT_TRUE(dialog.calls.empty());
    QCoreApplication::processEvents();
    EXPECT_EQ(dialog.calls, std::vector<std::string>{"base ping"});

    dialog.PostMessage(WM_APP + 1, 1, 1);
    dialog.DestroyWindow();
    QCoreApplication::processEvents();
    EXPECT_EQ(dialog.calls.size(), 1u);
    EXPECT_EQ(dialog.m_hWnd, nullptr);
}

// A plain window with the window messages the console's own controls use.
class CCanvas : public CWnd {
public:
    std::vector<std::string> calls;
    bool refuseCreation = false;
    CPoint lastDown;
    int OnCreate(LPCREATESTRUCT cs)
    {
        calls.push_back("create " + std::to_string(cs->hMenu));
        return refuseCreation ? -1 : CWnd::OnCreate(cs);
    }
    void OnDestroy() { calls.push_back("destroy"); }
    BOOL OnEraseBkgnd(CDC* pDC)
    {
        CRect client;
        GetClientRect(client);
        pDC->FillSolidRect(client, RGB(0, 0, 255));
        return TRUE;
    }
    void OnPaint()
    {
        CPaintDC dc(this);
        dc.FillSolidRect(CRect(0, 0, 5, 5), RGB(255, 0, 0));
    }
    void OnLButtonDown(UINT nFlags, CPoint point)
    {
        lastDown = point;
        calls.push_back(nFlags & MK_LBUTTON ? "down with button" : "down");
    }
    void OnSize(UINT, int cx, int cy) { calls.push_back("size " + std::to_string(cx) + "x" + std::to_string(cy)); }
    void OnClose() { calls.push_back("close refused"); }
    void OnTimer(UINT_PTR id)
    {
        calls.push_back("timer " + std::to_string(id));
        KillTimer(id);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCanvas, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_WM_LBUTTONDOWN()
    ON_WM_SIZE()
    ON_WM_CLOSE()
    ON_WM_TIMER()
END_MESSAGE_MAP()

TEST(WindowMessages, ComeFromQtEvents)
{
    CCanvas canvas;
    ASSERT_TRUE(canvas.CreateEx(0, "", "Toile", WS_POPUP | WS_VISIBLE, CRect(0, 0, 40, 30), nullptr, 9));
    EXPECT_EQ(canvas.calls.front(), "create 9");

    const QImage image = canvas.m_hWnd->grab().toImage();
    EXPECT_EQ(image.pixelColor(2, 2), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(20, 20), QColor(0, 0, 255));

    canvas.calls.clear();
    QTest::mousePress(canvas.m_hWnd, Qt::LeftButton, {}, QPoint(12, 7));
    EXPECT_EQ(canvas.lastDown, CPoint(12, 7));
    canvas.MoveWindow(0, 0, 50, 20);   // the window's outer rectangle; WM_SIZE has the client's
    CRect window, client;
    canvas.GetWindowRect(window);
    canvas.GetClientRect(client);
    EXPECT_EQ(window.Size(), CSize(50, 20));
    EXPECT_FALSE(canvas.m_hWnd->close());
    EXPECT_TRUE(canvas.m_hWnd->isVisible());
    const std::string size = "size " + std::to_string(client.Width()) + "x" + std::to_string(client.Height());
    EXPECT_EQ(canvas.calls, (std::vector<std::string>{"down with button", size, "close refused"}));

    canvas.calls.clear();
    canvas.SetTimer(3, 0);
    for (int i = 0; i < 100 && canvas.calls.empty(); ++i)
        QCoreApplication::processEvents();
    EXPECT_EQ(canvas.calls, std::vector<std::string>{"timer 3"});

    canvas.DestroyWindow();
    EXPECT_EQ(canvas.calls.back(), "destroy");
    EXPECT_EQ(canvas.m_hWnd, nullptr);
}

TEST(WindowMessages, CreationRefusedByOnCreateLeavesNoWindow)
{
    CCanvas canvas;
    canvas.refuseCreation = true;
    EXPECT_FALSE(canvas.CreateEx(0, "", "", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 1));
    EXPECT_EQ(canvas.m_hWnd, nullptr);
}

class CHelpDlg : public CDialog {
public:
    CHelpDlg() : CDialog(IDD_FORM) {}
    int helpControl = 0;
    BOOL OnHelpInfo(HELPINFO* info)
    {
        helpControl = info->iCtrlId;
        return TRUE;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CHelpDlg, CDialog)
    ON_WM_HELPINFO()
END_MESSAGE_MAP()

TEST_F(MessageMapTest, F1OnAControlReachesTheFirstParentThatHandlesHelp)
{
    CHelpDlg help;
    ASSERT_TRUE(help.Create(IDD_FORM));
    QTest::keyClick(Widget(&help, IDC_NAME), Qt::Key_F1);
    EXPECT_EQ(help.helpControl, IDC_NAME);
}

} // namespace
