#include "afx/win/lockkeys.h"

#include "afx/win/winids.h"

#include <QGuiApplication>

#ifdef AFX_HAVE_X11
#include <X11/XKBlib.h>
#endif

namespace afx::detail {

bool LockKeyOn(int virtKey)
{
#ifdef AFX_HAVE_X11
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    if (!display)
        return false;
    const char* name = nullptr;
    switch (virtKey) {
    case VK_CAPITAL: name = "Caps Lock"; break;
    case VK_NUMLOCK: name = "Num Lock"; break;
    case VK_SCROLL: name = "Scroll Lock"; break;
    default: return false;
    }
    // The keyboard's named indicators: their LEDs' states as the server keeps them.
    const Atom indicator = XInternAtom(display, name, True);
    Bool on = False;
    return indicator != None && XkbGetNamedIndicator(display, indicator, nullptr, &on, nullptr, nullptr) && on;
#else
    return false;
#endif
}

} // namespace afx::detail
