// CWnd: an MFC window object wrapping one widget (m_hWnd). Qt events reach the object's
// message map as Windows messages; control notifications travel to the parent as WM_COMMAND
// and WM_NOTIFY. See src/afx/README.md.
#pragma once

#include "afx/win/cmdtarget.h"
#include "afx/win/geometry.h"

#include <functional>

class QEvent;
class CFont;

#define afx_msg

struct CREATESTRUCT {
    LPVOID lpCreateParams = nullptr;
    HWND hwndParent = nullptr;
    UINT_PTR hMenu = 0;     // the control id of a child window
    int cy = 0, cx = 0, y = 0, x = 0;
    DWORD style = 0;
    CString lpszName;
    CString lpszClass;
    DWORD dwExStyle = 0;
};
typedef CREATESTRUCT* LPCREATESTRUCT;

// The Windows class name of a widget's control ("Edit", "ComboBox", ...); "" for a plain window.
int GetClassName(HWND hWnd, LPTSTR lpszClassName, int nMaxCount);

class CWnd : public CCmdTarget {
    DECLARE_DYNAMIC(CWnd)
public:
    CWnd();
    ~CWnd() override;   // destroys a widget that is still attached

    HWND m_hWnd = nullptr;

    // The permanent object attached to the widget; for a widget nobody attached, a wrapper of
    // its window class's MFC class that lives as long as the widget. nullptr for nullptr.
    static CWnd* FromHandle(HWND hWnd);
    static CWnd* FromHandlePermanent(HWND hWnd);   // nullptr when none is attached

    BOOL Attach(HWND hWnd);
    HWND Detach();
    // Attaches this object to an existing control: its messages reach this object's map first.
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);

    // Creates the widget of a registered window class ("Edit", "Button", ...); another or no
    // class name gives a plain widget. The rectangle is in the parent's client pixels.
    virtual BOOL Create(const CString& lpszClassName, const CString& lpszWindowName, DWORD dwStyle,
                        const RECT& rect, CWnd* pParentWnd, UINT nID);
    BOOL CreateEx(DWORD dwExStyle, const CString& lpszClassName, const CString& lpszWindowName, DWORD dwStyle,
                  const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam = nullptr);
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs) { return TRUE; }
    // Sends WM_DESTROY to the window and its attached descendants, then deletes the widget.
    virtual BOOL DestroyWindow();
    // Destroys the window once the event being handled has returned, through `destroy` (by
    // default DestroyWindow), and not at all when it is gone by then: a window that its own
    // menu, button or close box closes is still inside that event.
    void DestroyWindowLater(std::function<void()> destroy = {});
    // Called after the widget is gone; frames and views delete themselves here.
    virtual void PostNcDestroy() {}

    // Messages.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    // Identity and family.
    int GetDlgCtrlID() const;
    CWnd* GetDlgItem(int nID) const;
    CWnd* GetParent() const;
    CWnd* GetWindow(UINT nCmd) const;
    int GetClassName(LPTSTR lpszClassName, int nMaxCount) const;

    // Text.
    void SetWindowText(const CString& lpszString);
    void GetWindowText(CString& rString) const;
    int GetWindowTextLength() const;
    void SetDlgItemText(int nID, const CString& lpszString);
    int GetDlgItemText(int nID, CString& rString) const;
    void SetDlgItemInt(int nID, UINT nValue, BOOL bSigned = TRUE);
    UINT GetDlgItemInt(int nID, BOOL* lpTrans = nullptr, BOOL bSigned = TRUE) const;
    void CheckDlgButton(int nIDButton, UINT nCheck);
    UINT IsDlgButtonChecked(int nIDButton) const;

    // State.
    BOOL EnableWindow(BOOL bEnable = TRUE);   // TRUE when it was disabled before
    BOOL IsWindowEnabled() const;
    BOOL ShowWindow(int nCmdShow);            // TRUE when it was visible before
    BOOL IsWindowVisible() const;
    CWnd* SetFocus();
    static CWnd* GetFocus();
    DWORD GetStyle() const;
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);

    // Geometry, in pixels: client coordinates, window rectangles in screen coordinates.
    void GetClientRect(LPRECT lpRect) const;
    void GetWindowRect(LPRECT lpRect) const;
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE);
    void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE);
    // Centres a top-level window on its owner (or pAlternateOwner); on the screen when the
    // owner is missing or hidden.
    void CenterWindow(CWnd* pAlternateOwner = nullptr);
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
    void ScreenToClient(LPPOINT lpPoint) const;
    void ScreenToClient(LPRECT lpRect) const;
    void Invalidate(BOOL bErase = TRUE);
    void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE);
    void UpdateWindow();

    // Fonts: the object must outlive its use by the window (as with Windows fonts). A control
    // of a dialog has the dialog's template font until it is given another.
    void SetFont(CFont* pFont, BOOL bRedraw = TRUE);
    CFont* GetFont() const;

    // Timers: WM_TIMER to this object's map every nElapse milliseconds until KillTimer.
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, void* lpfnTimer = nullptr);
    BOOL KillTimer(UINT_PTR nIDEvent);

    // Dialogs: data exchange, focus moves and boxes.
    virtual BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    void GotoDlgCtrl(CWnd* pWndCtrl);
    int MessageBox(const CString& lpszText, const CString& lpszCaption = {}, UINT nType = MB_OK);

    // The message pipeline: WindowProc = the map (OnWndMsg) or else DefWindowProc.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // The standard handling of the window's class.
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Runs the standard handling of the message being handled, at once: for a message made from
    // a Qt event the event goes to the widget past the map, so code after Default() sees its
    // effect (the new text of an edit, for instance).
    LRESULT Default();

    virtual void DoDataExchange(class CDataExchange* pDX) {}

    // Handlers a derived class may map and chain to (each runs Default()).
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct) { return int(Default()); }
    afx_msg void OnDestroy() { Default(); }
    afx_msg void OnClose() { Default(); }
    afx_msg void OnPaint() { Default(); }
    afx_msg BOOL OnEraseBkgnd(CDC* pDC) { return BOOL(Default()); }
    afx_msg void OnSize(UINT nType, int cx, int cy) { Default(); }
    afx_msg void OnTimer(UINT_PTR nIDEvent) { Default(); }
    afx_msg void OnMouseMove(UINT nFlags, CPoint point) { Default(); }
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point) { Default(); }
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point) { Default(); }
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) { Default(); }
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) { Default(); }
    afx_msg BOOL OnHelpInfo(HELPINFO* pHelpInfo) { return BOOL(Default()); }

protected:
    // For classes that make their own kind of widget (frames, dialogs): attaches the widget,
    // applies id, text, style and rectangle, and sends WM_CREATE; FALSE (widget deleted) when
    // OnCreate returns -1.
    BOOL CreateWithWidget(HWND widget, CREATESTRUCT& cs);

private:
    friend class CDialog;
    bool m_ownsWidget = false;   // created here (not subclassed): destroyed with the object

    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
};
