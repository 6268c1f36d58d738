// CCategorySheet: the tabs of a category with several pages (or of the mailboxes), a child of
// the view. F1 on a page opens that page's help topic.
#pragma once

#include "afx/afxwin.h"

class CCategorySheet : public CPropertySheet {
    DECLARE_DYNAMIC(CCategorySheet)
public:
    explicit CCategorySheet(CWnd* view);

protected:
    // F1 alone is the main window's help command; with Shift, Ctrl or Alt it goes on.
    afx_msg BOOL OnHelpInfo(HELPINFO* pHelpInfo);

    DECLARE_MESSAGE_MAP()
};
