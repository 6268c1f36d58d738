#include "device/waitdlg.h"

#include "afx/core/resources.h"
#include "res/resource.h"

#include <QApplication>
#include <QEventLoop>
#include <QPainter>
#include <QSet>
#include <QThread>
#include <chrono>
#include <exception>

AnimationBlock animationBlock;

namespace {

constexpr int dotTop = 42;

std::unique_ptr<QImage> LoadBitmap(int id)
{
    auto image = std::make_unique<QImage>(afx::LoadPicture(afx::ResourceScript::Instance().BitmapFile(id)));
    return image->isNull() ? nullptr : std::move(image);
}

// Asks the user-interface thread to repaint the current target. The worker thread never
// touches a window itself.
void RequestRepaint(AnimationBlock* block)
{
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [block] {
            std::lock_guard lock(block->animationLock);
            if (block->animationTarget && block->animationTarget->m_hWnd)
                block->animationTarget->Invalidate(FALSE);
        },
        Qt::QueuedConnection);
}

// Keeps open every window that was open when a device library call began. A window the call
// opens meanwhile (a question, the device's password) closes as usual: ending a dialog is a
// close too.
class CloseRefusal : public QObject {
public:
    CloseRefusal()
    {
        for (QWidget* window : QApplication::topLevelWidgets())
            kept.insert(window);
        QCoreApplication::instance()->installEventFilter(this);
    }
    ~CloseRefusal() override { QCoreApplication::instance()->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Close || !watched->isWidgetType() || !kept.contains(static_cast<QWidget*>(watched)))
            return false;
        event->ignore();
        return true;
    }

private:
    QSet<QWidget*> kept;
};

} // namespace

int DotPosition(int frame)
{
    return frame % 10 * 7 + 36;
}

UINT AnimationThreadProc(LPVOID blockPointer)
{
    auto* block = static_cast<AnimationBlock*>(blockPointer);
    std::unique_lock lock(block->animationLock);
    ++block->runningThreads;
    while (block->animationTarget) {
        // The counter moves only when a frame is drawn, under the lock, so that a thread
        // that ends leaves it where the next window must go on.
        const int x = DotPosition(block->frameCounter++);
        block->frame = block->backgroundDC ? block->backgroundDC->convertToFormat(QImage::Format_ARGB32) : QImage();
        if (block->dotDC && !block->frame.isNull()) {
            QPainter painter(&block->frame);
            painter.setCompositionMode(QPainter::CompositionMode_Source);
            painter.drawImage(x, dotTop, *block->dotDC);
        }
        lock.unlock();
        RequestRepaint(block);
        block->frameDrawn.notify_all();
        lock.lock();
        // The lock is free while waiting; a window that goes wakes the thread at once.
        block->targetGone.wait_for(lock, std::chrono::milliseconds(animationTickMs),
                                   [block] { return !block->animationTarget; });
    }
    --block->runningThreads;
    return 0;
}

BEGIN_MESSAGE_MAP(CWaitPicture, CStatic)
    ON_WM_PAINT()
END_MESSAGE_MAP()

void CWaitPicture::OnPaint()
{
    CPaintDC dc(this);
    QImage frame;
    {
        std::lock_guard lock(animationBlock.animationLock);
        frame = animationBlock.frame;   // shared, not copied: the thread's next frame is a new image
    }
    if (!frame.isNull())
        dc.GetPainter()->drawImage(0, 0, frame);
}

BEGIN_MESSAGE_MAP(CWaitDlg, CDialog)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CWaitDlg::CWaitDlg(int updateMode, CWnd* owner) : CDialog(IDD_WAIT, owner), updateMode(updateMode)
{
}

CWaitDlg::~CWaitDlg()
{
    // Here, while this class's handlers are still reachable.
    if (m_hWnd)
        DestroyWindow();
    StopAnimation();
}

void CWaitDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_WAIT_PICTURE, picture);
}

BOOL CWaitDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CenterWindow();
    {
        std::lock_guard lock(animationBlock.animationLock);
        animationBlock.animationTarget = &picture;
        animationBlock.dotDC = LoadBitmap(IDB_WAIT_DOT);
        animationBlock.backgroundDC = LoadBitmap(updateMode > 0 ? IDB_WAIT_UPDATE : IDB_WAIT_CONNECT);
        animationBlock.frame = QImage();
    }
    animationThread = std::thread(AnimationThreadProc, &animationBlock);
    return TRUE;
}

void CWaitDlg::OnDestroy()
{
    StopAnimation();
    CDialog::OnDestroy();
}

void CWaitDlg::PostNcDestroy()
{
    // The window may also go without WM_DESTROY (its widget deleted by its owner).
    StopAnimation();
}

// Clears the target and waits for the thread, which ends at once: when the firmware upgrade
// creates the window again, only the new window's thread draws.
void CWaitDlg::StopAnimation()
{
    {
        std::lock_guard lock(animationBlock.animationLock);
        if (animationBlock.animationTarget == &picture) {
            animationBlock.animationTarget = nullptr;
            animationBlock.dotDC.reset();
            animationBlock.backgroundDC.reset();
            animationBlock.frame = QImage();
        }
    }
    animationBlock.targetGone.notify_all();
    if (animationThread.joinable())
        animationThread.join();
}

int CallWhileWaiting(const std::function<int()>& libraryCall)
{
    CloseRefusal closeRefusal;
    QEventLoop loop;
    int result = 0;
    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            result = libraryCall();
        } catch (...) {
            failure = std::current_exception();
        }
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();
    if (failure)
        std::rethrow_exception(failure);
    return result;
}

void CallOnUserInterfaceThread(const std::function<void()>& work)
{
    if (QThread::currentThread() == qApp->thread())
        work();
    else
        QMetaObject::invokeMethod(qApp, work, Qt::BlockingQueuedConnection);
}
