#include "afx/win/cmdtarget.h"
#include "afx/win/wnd.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr}};
    static const AFX_MSGMAP map = {nullptr, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const
{
    return GetThisMessageMap();
}

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(UINT message, UINT code, UINT id) const
{
    for (const AFX_MSGMAP* map = GetMessageMap(); map;
         map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* entry = map->lpEntries; entry->pfn; ++entry) {
            if (entry->nMessage == message && entry->nCode == code && id >= entry->nID
                && id <= entry->nLastID)
                return entry;
        }
    }
    return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(WM_COMMAND, UINT(nCode), nID);
    if (!entry)
        return FALSE;
    if (pHandlerInfo) {
        pHandlerInfo->pTarget = this;
        pHandlerInfo->pEntry = entry;
        return TRUE;
    }
    if (UINT(nCode) == CN_UPDATE_COMMAND_UI) {
        auto* cmdUI = static_cast<CCmdUI*>(pExtra);
        cmdUI->m_bContinueRouting = FALSE;
        entry->pfn(this, nID, reinterpret_cast<LPARAM>(cmdUI));
        const BOOL handled = !cmdUI->m_bContinueRouting;
        cmdUI->m_bContinueRouting = FALSE;
        return handled;
    }
    entry->pfn(this, nID, 0);
    return TRUE;
}

void CCmdUI::Enable(BOOL bOn)
{
    if (m_pOther)
        m_pOther->EnableWindow(bOn);
    m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int nCheck)
{
    if (m_pOther)
        m_pOther->SendMessage(BM_SETCHECK, WPARAM(nCheck));
}

void CCmdUI::SetText(const CString& lpszText)
{
    if (m_pOther)
        m_pOther->SetWindowText(lpszText);
}

BOOL CCmdUI::DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHandler)
{
    if (m_nID == 0 || LOWORD(m_nID) == 0xFFFF)
        return TRUE;
    m_bEnableChanged = FALSE;
    const BOOL handled = pTarget->OnCmdMsg(m_nID, int(CN_UPDATE_COMMAND_UI), this, nullptr);
    if (bDisableIfNoHandler && !m_bEnableChanged) {
        AFX_CMDHANDLERINFO info;
        Enable(pTarget->OnCmdMsg(m_nID, CN_COMMAND, this, &info));
    }
    return handled;
}
