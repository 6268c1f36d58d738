// The wait window: its pictures, the dot's cycle across windows, the animation thread's end,
// and the library call off the user-interface thread.
#include "device_fixture.h"

#include "afx/core/resources.h"
#include "device/waitdlg.h"
#include "dialogs/devicepassworddlg.h"
#include "res/resource.h"

#include <QElapsedTimer>
#include <QPainter>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <memory>
#include <stdexcept>
#include <thread>

namespace {

QImage Bitmap(int id)
{
    return QImage(afx::ResourceScript::Instance().BitmapFile(id)).convertToFormat(QImage::Format_ARGB32);
}

// The frame the animation shows with the dot at x.
QImage ExpectedFrame(int backgroundId, int x)
{
    QImage frame = Bitmap(backgroundId);
    QPainter painter(&frame);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(x, 42, Bitmap(IDB_WAIT_DOT));
    return frame;
}

int FrameCounter()
{
    std::lock_guard lock(animationBlock.animationLock);
    return animationBlock.frameCounter;
}

int RunningThreads()
{
    std::lock_guard lock(animationBlock.animationLock);
    return animationBlock.runningThreads;
}

// Frames come every 600 ms: a thread that drew none in this time has stopped.
constexpr auto kFrameBound = std::chrono::seconds(10);

// Waits for the frame after `counter` to be drawn and returns it; a null image, and a
// failure, when none comes within the bound.
QImage NextFrame(int counter)
{
    std::unique_lock lock(animationBlock.animationLock);
    if (!animationBlock.frameDrawn.wait_for(lock, kFrameBound,
                                            [counter] { return animationBlock.frameCounter > counter; })) {
        ADD_FAILURE() << "no frame after " << counter << " within the bound";
        return {};
    }
    return animationBlock.frame;
}

class WaitWindowTest : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(RunningThreads(), 0); }
};

TEST_F(WaitWindowTest, ShowsThePictureOfItsModeWithoutTitleBarButtons)
{
    struct Case {
        int updateMode;
        int background;
    };
    for (const Case& c : {Case{0, IDB_WAIT_CONNECT}, Case{1, IDB_WAIT_UPDATE}}) {
        SCOPED_TRACE(c.updateMode);
        CWaitDlg wait(c.updateMode, nullptr);
        const int counter = FrameCounter();
        ASSERT_TRUE(wait.Create(IDD_WAIT));
        EXPECT_TRUE(wait.IsWindowVisible());
        CString caption;
        wait.GetWindowText(caption);
        EXPECT_EQ(caption, CString("Attendre ..."));
        // No close, minimise or maximise box; no sizing border.
        EXPECT_FALSE(wait.m_hWnd->windowFlags()
                     & (Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
        EXPECT_TRUE(wait.m_hWnd->windowFlags() & Qt::WindowTitleHint);
        EXPECT_EQ(wait.m_hWnd->minimumSize(), wait.m_hWnd->maximumSize());

        const QImage frame = NextFrame(counter);
        const QImage expected = ExpectedFrame(c.background, DotPosition(counter));
        EXPECT_EQ(frame, expected);
        // The picture paints the frame at its top left.
        const QImage shown = wait.picture.m_hWnd->grab().toImage().convertToFormat(QImage::Format_ARGB32);
        EXPECT_EQ(shown.copy(0, 0, expected.width(), expected.height()), expected);
        wait.DestroyWindow();
    }
}

TEST_F(WaitWindowTest, OpensCentredOnItsOwner)
{
    QWidget ownerWindow;
    ownerWindow.setGeometry(50, 70, 600, 400);
    ownerWindow.show();
    CWaitDlg wait(0, CWnd::FromHandle(&ownerWindow));
    ASSERT_TRUE(wait.Create(IDD_WAIT));
    EXPECT_LE((wait.m_hWnd->frameGeometry().center() - ownerWindow.frameGeometry().center()).manhattanLength(), 2);
    wait.DestroyWindow();
}

TEST_F(WaitWindowTest, TheDotRunsThroughTenPlaces)
{
    for (int frame = 0; frame < 10; ++frame)
        EXPECT_EQ(DotPosition(frame), 36 + 7 * frame);
    EXPECT_EQ(DotPosition(10), 36);
    EXPECT_EQ(DotPosition(23), 57);
}

// Each window goes on where the one before stopped, also the same object created again (as
// the firmware upgrade does), and only one thread draws at a time.
TEST_F(WaitWindowTest, TheDotContinuesAcrossWindows)
{
    CWaitDlg firmware(0, nullptr);
    for (int round = 0; round < 4; ++round) {
        SCOPED_TRACE(round);
        const int counter = FrameCounter();
        CWaitDlg other(1, nullptr);
        CWaitDlg& wait = round % 2 ? firmware : other;
        wait.updateMode = 1;
        ASSERT_TRUE(wait.Create(IDD_WAIT));
        EXPECT_EQ(NextFrame(counter), ExpectedFrame(IDB_WAIT_UPDATE, DotPosition(counter)));
        EXPECT_EQ(RunningThreads(), 1);
        wait.DestroyWindow();
    }
}

TEST_F(WaitWindowTest, TheThreadEndsWithItsWindow)
{
    struct Case {
        const char* name;
        bool waitForFrame;
        void (*end)(std::unique_ptr<CWaitDlg>&);
    };
    const Case cases[] = {
        {"destroyed at once", false, [](std::unique_ptr<CWaitDlg>& wait) { wait->DestroyWindow(); }},
        {"destroyed after a frame", true, [](std::unique_ptr<CWaitDlg>& wait) { wait->DestroyWindow(); }},
        {"widget deleted by another", true, [](std::unique_ptr<CWaitDlg>& wait) { delete wait->m_hWnd; }},
        {"object gone with its window", true, [](std::unique_ptr<CWaitDlg>& wait) { wait.reset(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto wait = std::make_unique<CWaitDlg>(0, nullptr);
        const int counter = FrameCounter();
        ASSERT_TRUE(wait->Create(IDD_WAIT));
        if (c.waitForFrame)
            NextFrame(counter);
        c.end(wait);
        EXPECT_EQ(RunningThreads(), 0);
        std::lock_guard lock(animationBlock.animationLock);
        EXPECT_EQ(animationBlock.animationTarget, nullptr);
        EXPECT_EQ(animationBlock.backgroundDC, nullptr);
        EXPECT_EQ(animationBlock.dotDC, nullptr);
    }
}

TEST(CallWhileWaitingTest, RunsTheCallOnAnotherThreadAndKeepsWindowsOpen)
{
    QWidget window;
    window.show();
    const std::thread::id interfaceThread = std::this_thread::get_id();
    std::thread::id callThread;
    const int result = CallWhileWaiting([&] {
        callThread = std::this_thread::get_id();
        // A request to close, arriving while the call runs, is refused.
        QMetaObject::invokeMethod(&window, &QWidget::close, Qt::QueuedConnection);
        return 42;
    });
    EXPECT_EQ(result, 42);
    EXPECT_NE(callThread, interfaceThread);
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.close());
}

TEST(CallWhileWaitingTest, ADialogTheCallAsksForClosesWhenAnswered)
{
    QWidget window;
    window.show();
    // The dialog runs as the user sees it, not answered by the test's script.
    afx::PromptAnswerer* const script = afx::SetPromptAnswerer(nullptr);
    CDevicePasswordDlg* shown = nullptr;
    INT_PTR answer = 0;
    bool pressed = false, stayedOpen = false;
    QElapsedTimer sincePressed;
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [&] {
        if (shown == nullptr || !shown->m_hWnd->isVisible())
            return;
        if (!pressed) {
            shown->SetDlgItemText(IDC_PASSWORD, "secret");
            shown->GetDlgItem(IDOK)->SendMessage(BM_CLICK);
            pressed = true;
            sincePressed.start();
        } else if (sincePressed.hasExpired(2000)) {
            // Still there: hidden, so that the call ends and the test reports it.
            stayedOpen = true;
            shown->m_hWnd->hide();
        }
    });
    user.start(20);
    CallWhileWaiting([&] {
        CallOnUserInterfaceThread([&] {
            CDevicePasswordDlg dialog("\\\\127.0.0.1\\Brevia", FALSE, nullptr);
            shown = &dialog;
            answer = dialog.DoModal();
            shown = nullptr;
        });
        return 0;
    });
    afx::SetPromptAnswerer(script);
    EXPECT_FALSE(stayedOpen) << "OK closed the dialog";
    EXPECT_EQ(answer, IDOK);
    EXPECT_TRUE(window.isVisible()) << "the windows open before the call stay open";
}

TEST(CallWhileWaitingTest, PassesTheCallsExceptionOn)
{
    EXPECT_THROW(CallWhileWaiting([]() -> int { throw std::runtime_error("link"); }), std::runtime_error);
}

} // namespace
