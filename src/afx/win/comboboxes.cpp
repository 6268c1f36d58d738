// The combo box control ("ComboBox"): drop-down lists and editable boxes.
#include "afx/win/controls.h"

#include "afx/win/corecontrols.h"
#include "afx/win/dlgtemplate.h"

#include <QComboBox>
#include <QSignalBlocker>

IMPLEMENT_DYNAMIC(CComboBox, CWnd)

using afx::detail::StyleOf;

namespace {

QWidget* CreateComboBox(const afx::ControlSpec& spec, QWidget* parent)
{
    auto* combo = new QComboBox(parent);
    combo->setEditable((spec.style & 0x3) != CBS_DROPDOWNLIST);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCurrentIndex(-1);
    // The template's height includes the drop-down list; the box itself is one line high.
    combo->setFixedHeight(combo->sizeHint().height());
    // Only a user's choice notifies (a click in the list, the arrow keys, a typed letter, the
    // wheel), as on Windows; SetCurSel does not.
    QObject::connect(combo, &QComboBox::activated, combo, [combo] { afx::NotifyParent(combo, CBN_SELCHANGE); });
    return combo;
}

CString ComboText(HWND hWnd)
{
    auto* combo = qobject_cast<QComboBox*>(hWnd);
    return combo ? CString(combo->currentText()) : CString();
}

void SetComboText(HWND hWnd, const CString& text)
{
    if (auto* combo = qobject_cast<QComboBox*>(hWnd); combo && combo->isEditable())
        combo->setEditText(text);
}

LRESULT ComboProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM, bool* handled)
{
    auto* combo = qobject_cast<QComboBox*>(hWnd);
    if (!combo)
        return 0;
    *handled = true;
    switch (message) {
    case CB_GETCOUNT:
        return combo->count();
    case CB_GETCURSEL:
        return combo->currentIndex();
    case CB_SETCURSEL: {
        const int index = int(wParam);
        const bool valid = index >= 0 && index < combo->count();
        combo->setCurrentIndex(valid ? index : -1);
        return valid ? index : CB_ERR;
    }
    default:
        *handled = false;
        return 0;
    }
}

// Changes the list without a notification and without Qt's selecting of a first item:
// Windows keeps the selection (and an editable box its text) when items come and go.
template <class Change>
void ChangeItems(QComboBox* combo, Change change)
{
    const QSignalBlocker blocker(combo);
    const bool hadSelection = combo->currentIndex() >= 0;
    const QString editText = combo->isEditable() ? combo->currentText() : QString();
    change();
    if (!hadSelection && combo->currentIndex() >= 0) {
        combo->setCurrentIndex(-1);
        if (combo->isEditable())
            combo->setEditText(editText);
    }
}

} // namespace

void afx::detail::RegisterComboBox()
{
    RegisterWindowClass({QStringLiteral("ComboBox"), CreateComboBox, ComboProc,
                         [] { return static_cast<CWnd*>(new CComboBox); }, ComboText, SetComboText});
}

namespace {
QComboBox* Combo(const CWnd* wnd)
{
    return qobject_cast<QComboBox*>(wnd->m_hWnd);
}

bool InRange(const QComboBox* combo, int index)
{
    return combo && index >= 0 && index < combo->count();
}
} // namespace

int CComboBox::AddString(const CString& lpszString)
{
    QComboBox* combo = Combo(this);
    if (!combo)
        return CB_ERR;
    int index = combo->count();
    if (GetStyle() & CBS_SORT) {
        index = 0;
        while (index < combo->count() && combo->itemText(index).compare(lpszString, Qt::CaseInsensitive) <= 0)
            ++index;
    }
    ChangeItems(combo, [&] { combo->insertItem(index, lpszString); });
    return index;
}

void CComboBox::ResetContent()
{
    if (QComboBox* combo = Combo(this))
        ChangeItems(combo, [&] { combo->clear(); });
}

int CComboBox::GetCount() const
{
    return int(const_cast<CComboBox*>(this)->SendMessage(CB_GETCOUNT));
}

int CComboBox::GetCurSel() const
{
    return int(const_cast<CComboBox*>(this)->SendMessage(CB_GETCURSEL));
}

int CComboBox::SetCurSel(int nSelect)
{
    return int(SendMessage(CB_SETCURSEL, WPARAM(nSelect)));
}

void CComboBox::GetLBText(int nIndex, CString& rString) const
{
    QComboBox* combo = Combo(this);
    rString = InRange(combo, nIndex) ? CString(combo->itemText(nIndex)) : CString();
}

DWORD_PTR CComboBox::GetItemData(int nIndex) const
{
    QComboBox* combo = Combo(this);
    return InRange(combo, nIndex) ? DWORD_PTR(combo->itemData(nIndex).toULongLong()) : DWORD_PTR(CB_ERR);
}

int CComboBox::SetItemData(int nIndex, DWORD_PTR dwItemData)
{
    QComboBox* combo = Combo(this);
    if (!InRange(combo, nIndex))
        return CB_ERR;
    combo->setItemData(nIndex, QVariant::fromValue(qulonglong(dwItemData)));
    return 0;
}
