// The platform layer with its window part: what the console's windows are written against.
#pragma once

#include "afx/afx.h"
#include "afx/win/windefs.h"
#include "afx/win/geometry.h"
#include "afx/win/cmdtarget.h"
#include "afx/win/wnd.h"
#include "afx/win/gdi.h"
#include "afx/win/dialog.h"
#include "afx/win/ddx.h"
#include "afx/win/controls.h"
#include "afx/win/dlgtemplate.h"
#include "afx/win/prompts.h"
