// The framework's own texts: the resource script's string when it has one, else the French
// text the framework carries. Their ids are in winids.h.
#pragma once

#include "afx/afx.h"

namespace afx {
CString FrameworkString(UINT id);
}

// The part number iSubString of a string whose parts are separated by chSep; FALSE, with an
// empty result, when there are fewer parts.
BOOL AfxExtractSubString(CString& rString, const CString& lpszFullString, int iSubString, TCHAR chSep = u'\n');
// The framework string nIDS with %1 replaced by lpsz1.
void AfxFormatString1(CString& rString, UINT nIDS, const CString& lpsz1);
