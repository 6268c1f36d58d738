// CNtsView: the console's view, the category bar's pages for the settings record.
#pragma once

#include "afx/afxwin.h"

class CNtsView : public CView {
    DECLARE_DYNCREATE(CNtsView)
public:
    CNtsView() = default;

    void OnDraw(CDC* pDC) override;

};
