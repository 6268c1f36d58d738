// CCaptionBar: the bar above the pages that names the current category, in white on teal.
#pragma once

#include "afx/afxwin.h"

class CCaptionBar : public CDialogBar {
    DECLARE_DYNAMIC(CCaptionBar)
public:
    // The string shown; 0 shows no text (before the first category is shown).
    UINT captionId = 0;

protected:
    afx_msg void OnPaint();

    DECLARE_MESSAGE_MAP()
};
