#include "pages/listpage.h"

#include "device/lib/idobject.h"
#include "device/lib/mailboxes.h"
#include "device/lib/phonebook.h"
#include "dialogs/dialoghelpers.h"
#include "res/resource.h"

#include <memory>

IMPLEMENT_DYNAMIC(CListPage, CPropertyPage)

BEGIN_MESSAGE_MAP(CListPage, CPropertyPage)
    ON_BN_CLICKED(IDC_ADD, &CListPage::OnAdd)
    ON_BN_CLICKED(IDC_MODIFY, &CListPage::OnModify)
    ON_BN_CLICKED(IDC_DELETE, &CListPage::OnDelete)
    ON_BN_CLICKED(IDC_DELETE_ALL, &CListPage::OnDeleteAll)
    ON_NOTIFY(NM_DBLCLK, IDC_ENTRY_LIST, &CListPage::OnListDoubleClick)
    ON_NOTIFY(LVN_ITEMCHANGED, IDC_ENTRY_LIST, &CListPage::OnListItemChanged)
    ON_WM_CHAR()
END_MESSAGE_MAP()

CListPage::CListPage(const int* maxCount, UINT templateId, UINT captionId)
    : CPropertyPage(templateId, captionId), maxCount(maxCount)
{
}

void CListPage::UpdateButtons()
{
    const int selected = int(list.GetSelectedCount());
    const int count = list.GetItemCount();
    const auto enable = [this](int id, BOOL on) {
        if (CWnd* button = GetDlgItem(id))
            button->EnableWindow(on);
    };
    enable(IDC_MODIFY, selected == 1);
    enable(IDC_DELETE, selected >= 1);
    enable(IDC_DELETE_ALL, count >= 1);
    enable(IDC_ADD, count < *maxCount);
}

CObList* CListPage::GetList(UINT& columnsId)
{
    static CObList none;
    columnsId = 0;
    return &none;
}

CDialog* CListPage::CreateEntryDialog(CObject*)
{
    return nullptr;
}

void CListPage::DeleteEntry(CObject*)
{
}

void CListPage::DeleteAllEntries()
{
}

void CListPage::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_ENTRY_LIST, list);
    if (pDX->m_bSaveAndValidate)
        return;
    UINT columnsId = 0;
    CObList* objects = GetList(columnsId);
    FillEntryList(list, columnsId, *objects, nullptr);
    UpdateButtons();
}

void CListPage::OpenEntryDialog(CObject* entry)
{
    // The dialog writes the entry itself and calls RefreshEntry each time it saves.
    if (std::unique_ptr<CDialog> dialog{CreateEntryDialog(entry)}) {
        DoModalWithHelpKey(*dialog);
    }
    SetFocus();
    UpdateButtons();
}

void CListPage::RefreshEntry(CObject* entry)
{
    MarkDocumentModified();
    const int index = FindItemByData(list, entry);
    if (index != -1)
        list.DeleteItem(index);
    InsertEntryItem(list, entry, TRUE);
}

int CListPage::GetUsage(int& capacity) const
{
    capacity = *maxCount;
    return list.GetItemCount();
}

void CListPage::OnAdd()
{
    OpenEntryDialog(nullptr);
}

void CListPage::OnModify()
{
    if (list.GetSelectedCount() == 1)
        OpenEntryDialog(GetFirstSelectedData(list));
}

void CListPage::OnDelete()
{
    int index = -1;
    while (CObject* entry = GetFirstSelectedData(list, &index)) {
        list.DeleteItem(index);
        DeleteEntry(entry);
        MarkDocumentModified();
        UpdateButtons();
    }
}

void CListPage::OnDeleteAll()
{
    if (list.GetItemCount() == 0)
        return;
    list.DeleteAllItems();
    DeleteAllEntries();
    MarkDocumentModified();
    UpdateButtons();
}

void CListPage::OnListDoubleClick(NMHDR*, LRESULT* result)
{
    OnModify();
    *result = 0;
}

void CListPage::OnListItemChanged(NMHDR*, LRESULT* result)
{
    UpdateButtons();
    *result = 0;
}

void CListPage::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    const auto held = [](int key) { return (GetKeyState(key) & 0x8000) != 0; };
    if (nChar == '.' && held(VK_SHIFT) && held(VK_CONTROL) && held(VK_MENU)) {
        // The button's own click, so that whatever guards a page puts on Delete guards this too.
        CWnd* button = GetDlgItem(IDC_DELETE);
        if (button && button->IsWindowEnabled())
            button->SendMessage(BM_CLICK);
    }
    CPropertyPage::OnChar(nChar, nRepCnt, nFlags);
}

// ---- List helpers ----

void SetListColumns(CListCtrl& list, UINT columnsId)
{
    while (list.DeleteColumn(0)) {
    }
    if (!IsNetworkMode()) {
        if (columnsId == IDS_SPEED_DIAL_COLUMNS_NETWORK)
            columnsId = IDS_SPEED_DIAL_COLUMNS;
        else if (columnsId == IDS_ONE_TOUCH_COLUMNS_NETWORK)
            columnsId = IDS_ONE_TOUCH_COLUMNS;
    }
    CString columns;
    if (columnsId == 0 || !columns.LoadString(columnsId))
        return;
    for (int start = 0;;) {
        const int c1 = columns.Find(u',', start);
        if (c1 < 0)
            return;
        const int c2 = columns.Find(u',', c1 + 1);
        if (c2 < 0)
            return;
        CString heading = columns.Mid(start, c1 - start);
        heading.TrimLeft();
        int width = 0;
        int at = c1 + 1;
        while (at < c2 && (columns[at] == u' ' || columns[at] == u'\t'))
            ++at;
        for (; at < c2 && columns[at] >= u'0' && columns[at] <= u'9'; ++at)
            width = width * 10 + (columns[at] - u'0');
        list.InsertColumn(list.GetColumnCount(), heading, LVCFMT_LEFT, width);
        start = c2 + 1;
    }
}

int FillEntryList(CListCtrl& list, UINT columnsId, CObList& objects, CObject* selected)
{
    list.DeleteAllItems();
    SetListColumns(list, columnsId);
    int last = -1;
    for (POSITION pos = objects.GetHeadPosition(); pos;) {
        CObject* object = objects.GetNext(pos);
        last = InsertEntryItem(list, object, object == selected);
    }
    return last;
}

namespace {

// Whether the row of `later` belongs after that of `earlier`: numbered entries by number,
// mailboxes by their number as text, compared character by character.
bool NotBefore(CObject* later, CObject* earlier)
{
    if (const auto* entry = DYNAMIC_DOWNCAST(CIdObject, later))
        return entry->GetId() >= static_cast<CIdObject*>(earlier)->GetId();
    return static_cast<CMailBox*>(later)->GetNumber().Compare(
               static_cast<CMailBox*>(earlier)->GetNumber()) >= 0;
}

} // namespace

int InsertEntryItem(CListCtrl& list, CObject* object, BOOL select)
{
    CStringArray texts;
    if (const auto* entry = DYNAMIC_DOWNCAST(CIdObject, object))
        entry->GetText(texts);
    else if (const auto* mailbox = DYNAMIC_DOWNCAST(CMailBox, object))
        mailbox->GetText(texts);
    if (texts.GetSize() == 0)
        return -1;

    // The rows stand in order, so the place after the last row that does not come later is
    // the first row that does; searched from the end, a list filled in order costs one look
    // per row.
    int position = list.GetItemCount();
    while (position > 0 && !NotBefore(object, reinterpret_cast<CObject*>(list.GetItemData(position - 1))))
        --position;
    // A new row is not selected: its state is given only to select it.
    const UINT mask = LVIF_TEXT | LVIF_PARAM | (select ? LVIF_STATE : 0u);
    const int index = list.InsertItem(mask, position, texts[0], LVIS_SELECTED, LVIS_SELECTED, 0,
                                      reinterpret_cast<LPARAM>(object));
    if (index < 0)
        return index;

    // The group members' list has the speed-dial columns: a key's type has no place there.
    if (DYNAMIC_DOWNCAST(COneTouch, object) && list.GetDlgCtrlID() == IDC_GROUP_MEMBERS)
        texts.RemoveAt(1);
    for (int column = 1; column < texts.GetSize(); ++column)
        list.SetItemText(index, column, texts[column]);
    return index;
}

int FindItemByData(CListCtrl& list, CObject* object)
{
    LVFINDINFO find;
    find.flags = LVFI_PARAM;
    find.lParam = reinterpret_cast<LPARAM>(object);
    return list.FindItem(&find, -1);
}

CObject* GetFirstSelectedData(CListCtrl& list, int* index)
{
    const int first = list.GetNextItem(-1, LVNI_SELECTED);
    if (index)
        *index = first;
    return first < 0 ? nullptr : reinterpret_cast<CObject*>(list.GetItemData(first));
}

void ShowUsage(CDialog* dialog, CListPage* page)
{
    int capacity = 0;
    dialog->SetDlgItemInt(IDC_USED_COUNT, UINT(page->GetUsage(capacity)), TRUE);
    dialog->SetDlgItemInt(IDC_CAPACITY, UINT(capacity), TRUE);
}

void StepEntryNumber(CEdit* numberField, CSpinButtonCtrl* spin, CObList& entries, CIdObject* current, int delta)
{
    const int digits = int(numberField->GetLimitText());
    CString text;
    numberField->GetWindowText(text);
    int lower = 0;
    int upper = 0;
    spin->GetRange(lower, upper);
    bool isNumber = false;
    int n = static_cast<const QString&>(text).toInt(&isNumber, 10);
    if (!isNumber || n < 0)
        n = 0;

    const BOOL down = delta < 0;
    int m = NextAvailableId(entries, n, down);
    const bool editingOwnNumber = current && current->GetId() == n;
    if ((m < lower && down) || (m > upper && !down)) {
        // No free number that way: the edited entry keeps its own; otherwise the first free
        // one upward.
        if (editingOwnNumber)
            return;
        m = NextAvailableId(entries, m, FALSE);
    }
    if (m >= lower && m <= upper)
        numberField->SetWindowText(FormatId(m, digits));
}
