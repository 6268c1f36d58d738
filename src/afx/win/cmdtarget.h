// CCmdTarget and message maps: tables of (message, notification code, id range) -> handler,
// searched in the derived class's map first, then in each base class's map.
#pragma once

#include "afx/win/windefs.h"

class CCmdTarget;
class CCmdUI;
class CDC;
class CWnd;
struct CREATESTRUCT;

// A handler entry: a captureless lambda that casts the target to the class whose map holds it
// and calls the member with the parameters decoded from wParam and lParam.
typedef LRESULT (*AFX_PMSG)(CCmdTarget* target, WPARAM wParam, LPARAM lParam);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;   // WM_*, WM_COMMAND, WM_NOTIFY, or WM_REFLECT_BASE + one of those
    UINT nCode;      // control notification, CN_COMMAND or CN_UPDATE_COMMAND_UI
    UINT nID;        // first control or command id
    UINT nLastID;    // last id of the range (nID for a single id)
    AFX_PMSG pfn;    // nullptr ends the table
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// Filled by OnCmdMsg instead of calling the handler: tells whether a target handles a command.
struct AFX_CMDHANDLERINFO {
    CCmdTarget* pTarget = nullptr;
    const AFX_MSGMAP_ENTRY* pEntry = nullptr;
};

class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget() = default;
    ~CCmdTarget() override = default;

    // Commands (nCode CN_COMMAND), update probes (CN_UPDATE_COMMAND_UI, pExtra the CCmdUI*) and
    // control notifications (nCode the notification) for id nID. With pHandlerInfo the handler
    // is only looked up, not called. Routing classes override this to pass the command on.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

    // The first entry for the message, code and id, derived class first; nullptr when none.
    const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT message, UINT code, UINT id) const;

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
};

// The state of a command's user-interface item (menu item, toolbar button, dialog control)
// handed to ON_UPDATE_COMMAND_UI handlers. This base works a window (m_pOther); menus and
// toolbars derive their own.
class CCmdUI {
public:
    UINT m_nID = 0;
    UINT m_nIndex = 0;
    CWnd* m_pOther = nullptr;
    BOOL m_bEnableChanged = FALSE;
    BOOL m_bContinueRouting = FALSE;

    virtual ~CCmdUI() = default;
    virtual void Enable(BOOL bOn = TRUE);
    virtual void SetCheck(int nCheck = 1);
    virtual void SetText(const CString& lpszText);
    void ContinueRouting() { m_bContinueRouting = TRUE; }
    // Asks the target (and its routing) for an update handler; TRUE when one ran. With
    // bDisableIfNoHandler, an item no handler updated is enabled only if a command handler exists.
    BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHandler);
};

// ---- Map declaration and definition ----

#define DECLARE_MESSAGE_MAP()                                   \
protected:                                                      \
    static const AFX_MSGMAP* GetThisMessageMap();               \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                   \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                              \
    {                                                                            \
        using ThisClass = theClass;                                              \
        using TheBaseClass = baseClass;                                          \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                        \
            { 0, 0, 0, 0, nullptr }                                              \
        };                                                                       \
        static const AFX_MSGMAP messageMap = { &TheBaseClass::GetThisMessageMap, &_messageEntries[0] }; \
        return &messageMap;                                                      \
    }

// An entry whose handler body sees `target` (the object, as ThisClass*), wParam and lParam.
#define AFX_MSG_ENTRY(message, code, id, lastId, body)                          \
    { (UINT)(message), (UINT)(code), (UINT)(id), (UINT)(lastId),                 \
      [](CCmdTarget* _target, WPARAM wParam, LPARAM lParam) -> LRESULT {         \
          [[maybe_unused]] ThisClass* target = static_cast<ThisClass*>(_target); \
          (void)wParam; (void)lParam;                                            \
          body                                                                   \
      } },

// Handlers are named as member pointers: ON_COMMAND(ID_APP_ABOUT, &CMyApp::OnAppAbout).
#define ON_COMMAND(id, memberFxn) \
    AFX_MSG_ENTRY(WM_COMMAND, CN_COMMAND, id, id, (target->*(memberFxn))(); return 0;)
#define ON_COMMAND_RANGE(id, idLast, memberFxn) \
    AFX_MSG_ENTRY(WM_COMMAND, CN_COMMAND, id, idLast, (target->*(memberFxn))(UINT(wParam)); return 0;)
#define ON_UPDATE_COMMAND_UI(id, memberFxn) \
    AFX_MSG_ENTRY(WM_COMMAND, CN_UPDATE_COMMAND_UI, id, id, \
                  (target->*(memberFxn))(reinterpret_cast<CCmdUI*>(lParam)); return 0;)
#define ON_UPDATE_COMMAND_UI_RANGE(id, idLast, memberFxn) \
    AFX_MSG_ENTRY(WM_COMMAND, CN_UPDATE_COMMAND_UI, id, idLast, \
                  (target->*(memberFxn))(reinterpret_cast<CCmdUI*>(lParam)); return 0;)

// Control notifications sent to the parent as WM_COMMAND.
#define ON_CONTROL(code, id, memberFxn) \
    AFX_MSG_ENTRY(WM_COMMAND, code, id, id, (target->*(memberFxn))(); return 0;)
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn) ON_CONTROL(LBN_DBLCLK, id, memberFxn)

// A control handling its own notification; the parent then does not see it.
#define ON_CONTROL_REFLECT(code, memberFxn) \
    AFX_MSG_ENTRY(WM_REFLECT_BASE + WM_COMMAND, code, 0, 0, (target->*(memberFxn))(); return 0;)

// Notifications sent as WM_NOTIFY: void OnX(NMHDR* pNMHDR, LRESULT* pResult).
#define ON_NOTIFY(code, id, memberFxn)                                             \
    AFX_MSG_ENTRY(WM_NOTIFY, code, id, id,                                          \
                  LRESULT result = 0;                                               \
                  (target->*(memberFxn))(reinterpret_cast<NMHDR*>(lParam), &result); \
                  return result;)

// Any message: LRESULT OnX(WPARAM wParam, LPARAM lParam).
#define ON_MESSAGE(message, memberFxn) \
    AFX_MSG_ENTRY(message, 0, 0, 0, return (target->*(memberFxn))(wParam, lParam);)

// Window messages, with MFC's handler names and signatures.
#define ON_WM_CREATE() \
    AFX_MSG_ENTRY(WM_CREATE, 0, 0, 0, return target->OnCreate(reinterpret_cast<CREATESTRUCT*>(lParam));)
#define ON_WM_DESTROY() AFX_MSG_ENTRY(WM_DESTROY, 0, 0, 0, target->OnDestroy(); return 0;)
#define ON_WM_CLOSE() AFX_MSG_ENTRY(WM_CLOSE, 0, 0, 0, target->OnClose(); return 0;)
#define ON_WM_PAINT() AFX_MSG_ENTRY(WM_PAINT, 0, 0, 0, target->OnPaint(); return 0;)
#define ON_WM_ERASEBKGND() \
    AFX_MSG_ENTRY(WM_ERASEBKGND, 0, 0, 0, return target->OnEraseBkgnd(reinterpret_cast<CDC*>(wParam));)
#define ON_WM_SIZE() \
    AFX_MSG_ENTRY(WM_SIZE, 0, 0, 0, target->OnSize(UINT(wParam), int(LOWORD(lParam)), int(HIWORD(lParam))); return 0;)
#define ON_WM_TIMER() AFX_MSG_ENTRY(WM_TIMER, 0, 0, 0, target->OnTimer(UINT_PTR(wParam)); return 0;)
#define AFX_MOUSE_ENTRY(message, handler) \
    AFX_MSG_ENTRY(message, 0, 0, 0, \
                  target->handler(UINT(wParam), CPoint(short(LOWORD(lParam)), short(HIWORD(lParam)))); return 0;)
#define ON_WM_MOUSEMOVE() AFX_MOUSE_ENTRY(WM_MOUSEMOVE, OnMouseMove)
#define ON_WM_LBUTTONDOWN() AFX_MOUSE_ENTRY(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP() AFX_MOUSE_ENTRY(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_CHAR() \
    AFX_MSG_ENTRY(WM_CHAR, 0, 0, 0, \
                  target->OnChar(UINT(wParam), UINT(LOWORD(lParam)), UINT(HIWORD(lParam))); return 0;)
#define ON_WM_KEYDOWN() \
    AFX_MSG_ENTRY(WM_KEYDOWN, 0, 0, 0, \
                  target->OnKeyDown(UINT(wParam), UINT(LOWORD(lParam)), UINT(HIWORD(lParam))); return 0;)
#define ON_WM_HELPINFO() \
    AFX_MSG_ENTRY(WM_HELP, 0, 0, 0, return target->OnHelpInfo(reinterpret_cast<HELPINFO*>(lParam));)
