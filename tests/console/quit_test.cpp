// Quitting the console as a user does, from inside its running event loop: through the menu
// by keys and by mouse, and with the close box; each time through the save prompt.
#include "startup_fixture.h"

#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTimer>
#include <QWindow>

using namespace startup;
using afx::testing::PromptScript;

namespace {

const CString kSavePrompt = "Enregistrer les modifications apportées à Paramètres ?";

QAction* QuitItem(QMenu* menu)
{
    for (QAction* action : menu->actions()) {
        if (afx::CommandIdOf(action) == ID_APP_EXIT)
            return action;
    }
    return nullptr;
}

// Alt+F opens "Fichier", Q chooses "Quitter".
void QuitByMenuKeys(QWidget* frame)
{
    QTest::keyClick(frame->windowHandle(), Qt::Key_F, Qt::AltModifier);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr) << "Alt+F opens no menu";
    QTest::keyClick(menu, Qt::Key_Q);
}

// A click on "Fichier", then on "Quitter" in the menu that opened.
void QuitByMouse(QWidget* frame)
{
    auto* bar = frame->findChild<QMenuBar*>();
    ASSERT_NE(bar, nullptr);
    QAction* file = bar->actions().value(0);
    ASSERT_NE(file, nullptr);
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->actionGeometry(file).center());
    QMenu* menu = file->menu();
    ASSERT_TRUE(menu && menu->isVisible()) << "the click opens no menu";
    QAction* quit = QuitItem(menu);
    ASSERT_NE(quit, nullptr);
    QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, menu->actionGeometry(quit).center());
}

// The window manager's close box.
void QuitByCloseBox(QWidget* frame)
{
    ASSERT_NE(frame->windowHandle(), nullptr);
    frame->windowHandle()->close();
}

struct QuitCase {
    const char* name;
    void (*quit)(QWidget* frame);
};

class QuitTest : public StartedConsole, public ::testing::WithParamInterface<QuitCase> {};

TEST_P(QuitTest, AsksToSaveFirstCancelKeepsAllAndNoEndsTheProgram)
{
    void (*const quit)(QWidget*) = GetParam().quit;
    QPointer<QWidget> frame = app.m_pMainWnd->m_hWnd;
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame));   // the menu's Alt keys work in the active window
    Document()->SetModifiedFlag();
    QObject thisTest;   // what this test leaves queued goes with it
    // The user acts once the console waits for input, as it does after its start.
    QTimer::singleShot(0, frame, [&] {
        // However this goes, the loop ends: a window left open fails the test, it does not hang it.
        struct EndLoop {
            QObject* context;
            ~EndLoop()
            {
                QTimer::singleShot(0, context, [] {
                    if (AfxGetMainWnd()) {
                        ADD_FAILURE() << "the main window is still open";
                        QCoreApplication::exit(1);
                    }
                });
            }
        } endLoop{&thisTest};
        {
            PromptScript prompts;
            prompts.MessageBox(IDCANCEL, kSavePrompt);
            quit(frame);
        }
        QApplication::processEvents();
        ASSERT_TRUE(frame) << "Cancel closes the window";
        EXPECT_TRUE(frame->isVisible());
        ASSERT_NE(Document(), nullptr);
        EXPECT_TRUE(Document()->IsModified());
        PromptScript prompts;
        prompts.MessageBox(IDNO, kSavePrompt);
        quit(frame);
        // Never from inside the key press, click or close event that asked: once the loop goes on.
        EXPECT_TRUE(frame) << "destroyed from inside the event that closed it";
    });
    app.Run();   // returns once the main window is gone
    EXPECT_FALSE(frame);
    EXPECT_EQ(app.m_pMainWnd, nullptr);
}

INSTANTIATE_TEST_SUITE_P(Ways, QuitTest,
                         ::testing::Values(QuitCase{"MenuByKeys", &QuitByMenuKeys}, QuitCase{"MenuByMouse", &QuitByMouse},
                                           QuitCase{"CloseBox", &QuitByCloseBox}),
                         [](const ::testing::TestParamInfo<QuitCase>& info) { return std::string(info.param.name); });

} // namespace
