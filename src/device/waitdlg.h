// The wait window shown while a device operation runs, with its animation thread, and the
// routine that runs a device library call off the user-interface thread meanwhile.
#pragma once

#include "afx/afxwin.h"

#include <QImage>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

// What the wait window and its animation thread share; one for the process. Every field but
// the lock and the conditions is guarded by animationLock.
struct AnimationBlock {
    std::mutex animationLock;
    // Windows drew from memory contexts holding the bitmaps; here they are plain images.
    std::unique_ptr<QImage> dotDC;          // bitmap 209
    std::unique_ptr<QImage> backgroundDC;   // bitmap 208 (update) or 210 (connect)
    CWnd* animationTarget = nullptr;        // the wait window's picture; none while no wait window exists
    QImage frame;                           // the last frame composed, which the picture paints
    int frameCounter = 0;                   // never reset: each wait window continues the dot's cycle
    int runningThreads = 0;
    std::condition_variable targetGone;     // cuts the thread's pause short
    std::condition_variable frameDrawn;     // for whoever waits for the next frame
};

extern AnimationBlock animationBlock;

constexpr int animationTickMs = 600;

// The left edge of the dot in frame n: 36, 43, ..., 99, then again from 36.
int DotPosition(int frame);

// The animation thread: composes a frame every 600 ms until its target is gone.
UINT AnimationThreadProc(LPVOID block);

// The picture area of the wait window: paints the animation's last frame.
class CWaitPicture : public CStatic {
protected:
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};

class CWaitDlg : public CDialog {
public:
    // updateMode 0 shows the connect picture, 1 the update picture. The caller creates the
    // window with Create(IDD_WAIT, owner) and destroys it with DestroyWindow().
    CWaitDlg(int updateMode, CWnd* owner);
    ~CWaitDlg() override;

    int updateMode;
    CWaitPicture picture;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    // The window is not the user's to close.
    void OnCancel() override {}
    void OnOK() override {}
    afx_msg void OnDestroy();
    void PostNcDestroy() override;
    DECLARE_MESSAGE_MAP()

private:
    void StopAnimation();

    std::thread animationThread;
};

// Runs a device library call on a worker thread and returns its result. Meanwhile the
// user-interface thread waits in a local event loop that takes no user input and lets no
// window close: the wait window keeps painting, and nothing else can start or touch what the
// call works on. An exception of the call is thrown again here.
int CallWhileWaiting(const std::function<int()>& libraryCall);

// For a library call that CallWhileWaiting runs: does the work on the user-interface thread
// and returns once it is done, so that the windows change between the call's steps.
void CallOnUserInterfaceThread(const std::function<void()>& work);
