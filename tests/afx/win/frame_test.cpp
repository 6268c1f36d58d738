// The frame: command routing through view, document, frame and application; update handlers
// on menu items and toolbar buttons; the menu and accelerators of the resources; status
// prompts and tooltips; its title and window style.
#include "notesapp.h"

#include <QHelpEvent>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QToolButton>
#include <QToolTip>

using namespace notes;

namespace {

class FrameTest : public NotesTest {
protected:
    void SetUp() override { NewDocument(); }

    CMenu* Popup(int index) const { return Frame()->GetMenu()->GetSubMenu(index); }
    // The menu item of the command, as it shows once its popup was opened.
    QAction* MenuItem(UINT id) const
    {
        for (int index = 0; index < int(Frame()->GetMenu()->GetMenuItemCount()); ++index)
            Frame()->OnInitMenuPopup(Popup(index), UINT(index), FALSE);
        return Frame()->GetMenu()->FindItem(id, MF_BYCOMMAND);
    }
    QToolButton* Button(UINT id) const
    {
        const int index = Frame()->toolBar.CommandToIndex(id);
        CRect rect;
        Frame()->toolBar.GetItemRect(index, rect);
        return qobject_cast<QToolButton*>(Frame()->toolBar.m_hWnd->childAt(rect.CenterPoint()));
    }
    CString MessagePane() const { return Frame()->statusBar.GetPaneText(0); }
};

struct RouteCase {
    UINT id;
    std::vector<std::string> handledBy;
};

TEST_F(FrameTest, CommandsGoToTheViewThenTheDocumentThenTheFrameThenTheApplication)
{
    const std::vector<RouteCase> cases = {{ID_VIEW_DOC_FRAME_APP, {"view"}},
                                          {ID_DOC_FRAME_APP, {"doc"}},
                                          {ID_FRAME_APP, {"frame"}},
                                          {ID_APP_ONLY, {"app"}},
                                          {ID_NOBODY, {}}};
    for (const RouteCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << "command " << c.id);
        Log().clear();
        Command(c.id);
        EXPECT_EQ(Log(), c.handledBy) << c.id;
    }
}

TEST_F(FrameTest, AViewThatGoesLeavesTheFrameWithoutActiveViewOrDocument)
{
    View()->DestroyWindow();   // its document goes with its last view
    EXPECT_EQ(Frame()->GetActiveView(), nullptr);
    EXPECT_EQ(Frame()->GetActiveDocument(), nullptr);
    Log().clear();
    Command(ID_VIEW_DOC_FRAME_APP);
    EXPECT_EQ(Log(), std::vector<std::string>{"frame"});
}

TEST_F(FrameTest, UpdateHandlersEnableMenuItemsAndToolbarButtons)
{
    app.OnIdle(0);   // what the event loop does when it runs out of events
    EXPECT_FALSE(MenuItem(ID_FILE_SAVE)->isEnabled());
    EXPECT_FALSE(Button(ID_FILE_SAVE)->isEnabled());

    Document()->SetModifiedFlag();
    app.OnIdle(0);
    EXPECT_TRUE(MenuItem(ID_FILE_SAVE)->isEnabled());
    EXPECT_TRUE(Button(ID_FILE_SAVE)->isEnabled());
    EXPECT_EQ(Frame()->GetMenu()->GetMenuState(ID_FILE_SAVE, MF_BYCOMMAND) & MF_GRAYED, 0u);
}

TEST_F(FrameTest, CommandsWithoutHandlerAreDisabledAndThoseWithOneEnabled)
{
    Frame()->OnIdleUpdateCmdUI();
    EXPECT_FALSE(MenuItem(ID_DEVICE_CONNECT)->isEnabled());
    EXPECT_FALSE(Button(ID_DEVICE_CONNECT)->isEnabled());
    EXPECT_TRUE(MenuItem(ID_FILE_OPEN)->isEnabled());   // the application's
    EXPECT_TRUE(Button(ID_FILE_OPEN)->isEnabled());
    EXPECT_TRUE(MenuItem(ID_APP_EXIT)->isEnabled());    // the framework's own
}

TEST_F(FrameTest, ADisabledCommandDoesNothing)
{
    // Save is disabled while the document is unmodified: no save dialog may show.
    Command(ID_FILE_SAVE);
    Document()->SetModifiedFlag();
    afx::testing::PromptScript prompts;
    prompts.FileDialog(IDCANCEL);
    Command(ID_FILE_SAVE);
}

TEST_F(FrameTest, MenuComesFromTheResourcesWithItsMnemonics)
{
    QStringList titles;
    for (QAction* popup : Frame()->GetMenu()->m_hMenu->actions())
        titles.append(popup->text());
    EXPECT_EQ(titles, (QStringList{"&Fichier", "Affi&chage", "&Aide"}));
    CString text;
    Frame()->GetMenu()->GetMenuString(ID_FILE_SAVE_AS, text, MF_BYCOMMAND);
    EXPECT_EQ(text, "Enregistrer paramètre&s sous...");

    const UINT networkMode = 32808;
    EXPECT_EQ(Frame()->GetMenu()->GetMenuState(networkMode, MF_BYCOMMAND), 0u);
    EXPECT_EQ(Frame()->GetMenu()->CheckMenuItem(networkMode, MF_CHECKED), UINT(MF_UNCHECKED));
    EXPECT_EQ(Frame()->GetMenu()->GetMenuState(networkMode, MF_BYCOMMAND), UINT(MF_CHECKED));
    EXPECT_TRUE(Frame()->GetMenu()->DeleteMenu(networkMode, MF_BYCOMMAND));
    EXPECT_EQ(Frame()->GetMenu()->GetMenuState(networkMode, MF_BYCOMMAND), UINT(-1));
    EXPECT_EQ(Popup(1)->GetMenuItemCount(), 2u);
}

TEST_F(FrameTest, BarCommandsToggleTheBarsAndCheckTheirItems)
{
    for (const UINT id : {UINT(ID_VIEW_TOOLBAR), UINT(ID_VIEW_STATUS_BAR)}) {
        CControlBar* bar = Frame()->GetControlBar(id);
        ASSERT_NE(bar, nullptr);
        EXPECT_TRUE(MenuItem(id)->isChecked());
        MenuItem(id)->trigger();   // as the user's choice
        EXPECT_FALSE(bar->IsWindowVisible()) << id;
        EXPECT_FALSE(MenuItem(id)->isChecked()) << id;
        MenuItem(id)->trigger();
        EXPECT_TRUE(bar->IsWindowVisible()) << id;
        EXPECT_TRUE(MenuItem(id)->isChecked()) << id;
    }
}

TEST_F(FrameTest, MenuAndToolbarPromptsShowInTheStatusBarAndTooltips)
{
    EXPECT_EQ(MessagePane(), "Pour de l'aide, appuyer sur F1");
    QMenu* file = qobject_cast<QMenu*>(Popup(0)->m_hMenu);
    MenuItem(ID_FILE_NEW)->hover();
    EXPECT_EQ(MessagePane(), "Créer de nouveaux paramètres");
    emit file->aboutToHide();
    EXPECT_EQ(MessagePane(), "Pour de l'aide, appuyer sur F1");

    QToolButton* button = Button(ID_DEVICE_CONNECT);
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(button, &enter);
    EXPECT_EQ(MessagePane(), "Connecter le périphérique actif");
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(button, &leave);
    EXPECT_EQ(MessagePane(), "Pour de l'aide, appuyer sur F1");

    QHelpEvent tip(QEvent::ToolTip, QPoint(2, 2), button->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(button, &tip);
    EXPECT_EQ(QToolTip::text(), "Connecter");
    QToolTip::hideText();
}

TEST_F(FrameTest, AcceleratorsSendTheirCommandsAndThoseWithoutHandlerDoNothing)
{
    QWidget* window = Frame()->m_hWnd;
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    Log().clear();
    QTest::keyClick(window, Qt::Key_F1);
    EXPECT_EQ(Log(), std::vector<std::string>{"frame help"});

    Log().clear();
    QTest::keyClick(window, Qt::Key_C, Qt::ControlModifier);        // copy: nobody handles it
    QTest::keyClick(window, Qt::Key_F1, Qt::ShiftModifier);         // context help: likewise
    EXPECT_TRUE(Log().empty());
}

TEST_F(FrameTest, TitleIsTheTemplatesAndTheWindowCannotBeResizedOrMaximised)
{
    CString title;
    Frame()->GetWindowText(title);
    EXPECT_EQ(title, "Brevia Pro 40/45 Tamsel de Corvane");
    Document()->SetTitle("autre.tms");
    Frame()->GetWindowText(title);
    EXPECT_EQ(title, "Brevia Pro 40/45 Tamsel de Corvane");

    QWidget* window = Frame()->m_hWnd;
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(window->minimumSize(), window->size());
    EXPECT_EQ(window->maximumSize(), window->size());
    EXPECT_FALSE(window->windowIcon().isNull());
}

class PlainFrameTest : public NotesTest {
protected:
    PlainFrameTest() : NotesTest(RUNTIME_CLASS(CFrameWnd)) {}
};

TEST_F(PlainFrameTest, FrameWithDefaultStyleShowsTheDocumentsTitleAndCanBeResized)
{
    app.OnFileNew();
    CWnd* frame = app.m_pMainWnd;
    ASSERT_NE(frame, nullptr);
    CString title;
    frame->GetWindowText(title);
    EXPECT_EQ(title, "Paramètres - Brevia Pro 40/45 Tamsel de Corvane");
    EXPECT_TRUE(frame->m_hWnd->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_NE(frame->m_hWnd->minimumSize(), frame->m_hWnd->maximumSize());
}

} // namespace
