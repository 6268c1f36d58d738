// CView: a window of the frame that shows a document. Created by the frame from the
// document template's view class, it joins the document's views and leaves them when it goes;
// it deletes itself when its window is destroyed.
#pragma once

#include "afx/win/wnd.h"

class CDC;
class CDocument;
class CFrameWnd;

class CView : public CWnd {
    DECLARE_DYNAMIC(CView)
public:
    ~CView() override;

    CDocument* GetDocument() const { return m_pDocument; }
    CFrameWnd* GetParentFrame() const;

    // Paints through OnDraw.
    virtual void OnDraw(CDC* pDC) = 0;
    // What the document's UpdateAllViews tells; the base repaints.
    virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint);
    // Once the document is loaded or new: OnUpdate(nullptr, 0, nullptr).
    virtual void OnInitialUpdate();

    // Commands go to the view's map, then its document's.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    // The CCreateContext of the frame comes in lpCreateStruct->lpCreateParams.
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnPaint();
    // A frame whose active view goes has none.
    afx_msg void OnDestroy();

protected:
    CView() = default;
    void PostNcDestroy() override;

    CDocument* m_pDocument = nullptr;

    DECLARE_MESSAGE_MAP()

private:
    friend class CDocument;
};
