// Control bars: the frame's layout in creation order, the toolbar's labels and sizes, the
// status bar's panes, a dialog bar from its template, a rebar band, and a frame that keeps its
// page area when a bar is hidden.
#include "notesapp.h"
#include "support/helpers.h"

#include <QImage>
#include <QMenuBar>
#include <QTest>
#include <QToolButton>

using namespace notes;

namespace {

class BarsTest : public NotesTest {
protected:
    void SetUp() override { NewDocument(); }
    CRect Client() const
    {
        const QWidget* frame = Frame()->m_hWnd;
        return CRect(QRect(frame->mapToGlobal(QPoint(0, 0)), frame->size()));
    }
};

TEST_F(BarsTest, BarsTakeTheirSidesInCreationOrderAndTheViewTheRest)
{
    CNotesFrame& frame = *Frame();
    const CRect client = Client();
    const CRect tool = WindowRect(frame.toolBar);
    const CRect status = WindowRect(frame.statusBar);
    const CRect left = WindowRect(frame.leftBar);
    const CRect rebar = WindowRect(frame.reBar);
    const CRect view = WindowRect(*View());
    const int menuBottom = client.top + GetSystemMetrics(SM_CYMENU);

    // The status bar was created first: it spans the bottom; the toolbar the top, below the menu.
    EXPECT_EQ(status, CRect(client.left, status.top, client.right, client.bottom));
    EXPECT_EQ(tool, CRect(client.left, menuBottom, client.right, tool.bottom));
    // Between them, the left bar at its template's width, then the rebar on top of the rest.
    EXPECT_EQ(left, CRect(client.left, tool.bottom, left.right, status.top));
    EXPECT_EQ(left.Width(), frame.leftBar.m_sizeDefault.cx);
    EXPECT_EQ(rebar, CRect(left.right, tool.bottom, client.right, rebar.bottom));
    EXPECT_EQ(view, CRect(left.right, rebar.bottom, client.right, status.top));
    EXPECT_GT(view.Height(), 0);
}

TEST_F(BarsTest, ToolbarButtonsComeFromTheResourceWithLabelsUnderTheirPictures)
{
    CToolBar& toolBar = Frame()->toolBar;
    const std::vector<UINT> ids = {32785, 32798, 32772, ID_FILE_OPEN, ID_FILE_SAVE, ID_HELP};
    ASSERT_EQ(toolBar.GetCount(), int(ids.size()));
    const QStringList labels = {"Connecter", "Déconnecter", "Appliquer", "Ouvrir", "Enregistrer", "Aide"};
    int widest = 0;
    for (int index = 0; index < toolBar.GetCount(); ++index) {
        EXPECT_EQ(toolBar.GetItemID(index), ids[size_t(index)]);
        EXPECT_EQ(toolBar.GetButtonText(index), labels[index]);
        widest = std::max(widest, toolBar.m_hWnd->fontMetrics().horizontalAdvance(labels[index]));
    }
    CRect first;
    toolBar.GetItemRect(0, first);
    for (int index = 0; index < toolBar.GetCount(); ++index) {
        CRect rect;
        toolBar.GetItemRect(index, rect);
        // Every button as large as the largest, side by side, wide enough for every label.
        EXPECT_EQ(rect.Size(), first.Size()) << index;
        EXPECT_EQ(rect.left, first.left + index * first.Width()) << index;
        auto* button = qobject_cast<QToolButton*>(toolBar.m_hWnd->childAt(rect.CenterPoint()));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
        EXPECT_EQ(button->iconSize(), QSize(22, 23));
        EXPECT_FALSE(button->icon().isNull());
        EXPECT_TRUE(button->autoRaise());   // flat
    }
    EXPECT_GE(first.Width(), std::max(35, widest));
    EXPECT_GE(first.Height(), 50);
    EXPECT_GE(WindowRect(toolBar).Height(), first.Height());
}

TEST_F(BarsTest, ToolbarSizesFollowSetSizesAndTheFont)
{
    CFont large;   // outlives the bar that uses it
    large.CreatePointFont(140, "Arial");
    CToolBar plain;
    ASSERT_TRUE(plain.Create(Frame()));
    ASSERT_TRUE(plain.LoadToolBar(IDR_MAINFRAME));
    CRect rect;
    plain.GetItemRect(0, rect);
    EXPECT_EQ(rect.Size(), CSize(22 + 7, 23 + 7));   // the picture with its margin, no label
    plain.SetSizes(CSize(40, 30), CSize(22, 23));
    plain.GetItemRect(1, rect);
    EXPECT_EQ(rect.Size(), CSize(40, 30));
    EXPECT_FALSE(qobject_cast<QToolButton*>(plain.m_hWnd->childAt(rect.CenterPoint()))->autoRaise());

    plain.SetButtonText(0, "Un libellé assez long");
    plain.GetItemRect(1, rect);
    const int narrow = rect.Width();
    // A toolbar has a font from the start, whose face a program may take for its own.
    ASSERT_NE(plain.GetFont(), nullptr);
    LOGFONT initial;
    plain.GetFont()->GetLogFont(&initial);
    EXPECT_FALSE(initial.lfFaceName.IsEmpty());
    plain.SetFont(&large);
    plain.GetItemRect(1, rect);
    EXPECT_GT(rect.Width(), narrow);
}

// With CBRS_GRIPPER the toolbar draws two etched bars at its left and its buttons after them.
TEST_F(BarsTest, ToolbarDrawsTheGripperItsStyleAsksFor)
{
    CToolBar& toolBar = Frame()->toolBar;
    ASSERT_TRUE(toolBar.GetBarStyle() & CBRS_GRIPPER);
    auto leftColumns = [&] {
        const QImage image = toolBar.m_hWnd->grab().toImage();
        std::vector<QRgb> colours;
        for (int x = 0; x < 10; ++x)
            colours.push_back(image.pixel(x, image.height() / 2));
        return colours;
    };
    const QPalette palette = toolBar.m_hWnd->palette();
    const QRgb light = palette.color(QPalette::Light).rgb();
    const QRgb dark = palette.color(QPalette::Mid).rgb();
    CRect first;
    toolBar.GetItemRect(0, first);
    EXPECT_GE(first.left, 10);
    const std::vector<QRgb> withGripper = leftColumns();
    EXPECT_EQ(withGripper[2], light);
    EXPECT_EQ(withGripper[4], dark);
    EXPECT_EQ(withGripper[5], light);
    EXPECT_EQ(withGripper[7], dark);

    toolBar.SetBarStyle(toolBar.GetBarStyle() & ~CBRS_GRIPPER);
    CRect moved;
    toolBar.GetItemRect(0, moved);
    EXPECT_EQ(moved.left, first.left - 10);
    const std::vector<QRgb> without = leftColumns();
    EXPECT_NE(without[2], light);
    EXPECT_NE(without[4], dark);
}

TEST_F(BarsTest, StatusBarHasAMessagePaneAndIndicatorsThatShowOnlyWhileOn)
{
    CStatusBar& status = Frame()->statusBar;
    ASSERT_EQ(status.GetCount(), 4);
    EXPECT_EQ(status.GetItemID(0), UINT(ID_SEPARATOR));
    CRect message;
    status.GetItemRect(0, message);
    for (int index = 1; index < 4; ++index) {
        CRect pane;
        status.GetItemRect(index, pane);
        EXPECT_GT(message.Width(), 2 * pane.Width());
        EXPECT_GE(pane.Width(), status.m_hWnd->fontMetrics().horizontalAdvance("DEFIL"));
    }
    // Offscreen no platform tells the lock keys' states: the indicators stay off.
    Frame()->OnIdleUpdateCmdUI();
    for (int index = 1; index < 4; ++index)
        EXPECT_EQ(status.GetPaneText(index), "") << index;

    EXPECT_TRUE(status.SetPaneText(0, "Connexion au périphérique. Attendre."));
    EXPECT_EQ(status.GetPaneText(0), "Connexion au périphérique. Attendre.");
    EXPECT_FALSE(status.SetPaneText(4, "rien"));
}

TEST_F(BarsTest, DialogBarHasItsTemplatesControlsAndTheirCommandsReachTheFrame)
{
    CDialogBar& bar = Frame()->leftBar;
    CWnd* button = bar.GetDlgItem(IDC_LEFT_BUTTON);
    ASSERT_NE(button, nullptr);
    CString text;
    button->GetWindowText(text);
    EXPECT_EQ(text, "Bouton");
    EXPECT_EQ(bar.m_hWnd->property("templateId").toInt(), int(IDD_LEFT_BAR));
    EXPECT_EQ(bar.GetDlgCtrlID(), int(IDD_LEFT_BAR));

    Log().clear();
    QTest::mouseClick(button->m_hWnd, Qt::LeftButton);
    EXPECT_EQ(Log(), std::vector<std::string>{"frame left button"});
}

TEST_F(BarsTest, RebarBandSpansTheRebarWithoutGripper)
{
    CNotesFrame& frame = *Frame();
    EXPECT_EQ(frame.topBar.GetParent(), &frame.reBar);
    const CRect rebar = WindowRect(frame.reBar);
    const CRect band = WindowRect(frame.topBar);
    EXPECT_EQ(band.left, rebar.left);
    EXPECT_EQ(band.right, rebar.right);
    EXPECT_EQ(band.Height(), frame.topBar.m_sizeDefault.cy);
    EXPECT_GE(rebar.Height(), band.Height());

    CDialogBar second;
    ASSERT_TRUE(second.Create(&frame, IDD_TOP_BAR, CBRS_TOP, IDD_TOP_BAR + 10));
    ASSERT_TRUE(frame.reBar.AddBar(&second));
    const CRect gripped = WindowRect(second);
    EXPECT_GT(gripped.left, rebar.left);   // room for its gripper
    EXPECT_GE(gripped.top, band.bottom);
}

class FixedPageTest : public NotesTest {
protected:
    FixedPageTest() : NotesTest(RUNTIME_CLASS(CFixedPageFrame)) {}
    void SetUp() override { NewDocument(); }
    int FrameHeight() const { return Frame()->m_hWnd->height(); }
    CSize PageArea() const { return WindowRect(*View()).Size(); }
};

TEST_F(FixedPageTest, FrameResizesItselfSoThePageAreaStaysWhenABarIsHidden)
{
    const CSize page(CFixedPageFrame::kPageWidth, CFixedPageFrame::kPageHeight);
    EXPECT_EQ(PageArea(), page);
    const int height = FrameHeight();
    for (const UINT id : {UINT(ID_VIEW_STATUS_BAR), UINT(ID_VIEW_TOOLBAR)}) {
        const int barHeight = WindowRect(*Frame()->GetControlBar(id)).Height();
        Command(id);
        EXPECT_EQ(FrameHeight(), height - barHeight) << id;
        EXPECT_EQ(PageArea(), page) << id;
        Command(id);
        EXPECT_EQ(FrameHeight(), height) << id;
        EXPECT_EQ(PageArea(), page) << id;
    }
    // The user still cannot resize it.
    EXPECT_EQ(Frame()->m_hWnd->minimumSize(), Frame()->m_hWnd->maximumSize());
}

} // namespace
