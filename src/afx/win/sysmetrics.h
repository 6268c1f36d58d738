// The system measures the frames' layouts are computed from.
#pragma once

#include "afx/win/windefs.h"

enum : int {
    // Half of what the window manager's frame adds to the main window's size (Windows counts a
    // window's frame in its size, and so do GetWindowRect and MoveWindow here): a frame that
    // adds twice these to its wanted size gets it. 0 before the main window is shown.
    SM_CXDLGFRAME = 7,
    SM_CYDLGFRAME = 8,
    SM_CYMENU = 15,      // a one-line menu bar of a frame
    SM_CXHSCROLL = 21,   // an arrow of a horizontal scroll bar
};

// The measure in pixels; 0 for one not listed above.
int GetSystemMetrics(int nIndex);
