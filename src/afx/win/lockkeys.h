// The lock keys' states (internal to the layer: GetKeyState reads them).
#pragma once

namespace afx::detail {

// Whether the lock key (VK_CAPITAL, VK_NUMLOCK, VK_SCROLL) is on. Only an X11 display tells;
// elsewhere (the offscreen platform, Wayland) the answer is off.
bool LockKeyOn(int virtKey);

} // namespace afx::detail
