// What a top-level window's title bar offers, told to an X11 window manager.
#include "afx/win/hook.h"

#include <QGuiApplication>

#ifdef AFX_HAVE_X11
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#endif

namespace afx::detail {

void TellWindowManager(QWidget* window)
{
#ifdef AFX_HAVE_X11
    // Qt tells the window manager the functions of the buttons a window has; a window with no
    // button at all (no close box either) gets every function, and so every button, unless
    // told otherwise: the Motif hints name the functions exactly.
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    const Qt::WindowFlags flags = window->windowFlags();
    if (!display || !window->isWindow() || !(flags & Qt::CustomizeWindowHint))
        return;
    enum : unsigned long {
        kFunctions = 1, kDecorations = 2,
        kFuncResize = 2, kFuncMove = 4, kFuncMinimize = 8, kFuncMaximize = 16, kFuncClose = 32,
        kDecorBorder = 2, kDecorResize = 4, kDecorTitle = 8, kDecorMenu = 16, kDecorMinimize = 32, kDecorMaximize = 64,
    };
    const bool sizable = window->minimumSize() != window->maximumSize();
    unsigned long functions = kFuncMove;
    unsigned long decorations = kDecorBorder;
    if (sizable) {
        functions |= kFuncResize;
        decorations |= kDecorResize;
    }
    if (flags & Qt::WindowTitleHint)
        decorations |= kDecorTitle;
    if (flags & Qt::WindowSystemMenuHint)
        decorations |= kDecorMenu;
    if (flags & Qt::WindowMinimizeButtonHint) {
        functions |= kFuncMinimize;
        decorations |= kDecorMinimize;
    }
    if (flags & Qt::WindowMaximizeButtonHint) {
        functions |= kFuncMaximize;
        decorations |= kDecorMaximize;
    }
    if (flags & Qt::WindowCloseButtonHint)
        functions |= kFuncClose;
    long hints[5] = {long(kFunctions | kDecorations), long(functions), long(decorations), 0, 0};
    const Atom atom = XInternAtom(display, "_MOTIF_WM_HINTS", False);
    XChangeProperty(display, Window(window->winId()), atom, atom, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(hints), 5);
    XFlush(display);
#endif
}

} // namespace afx::detail
