#include "dialogs/dialstringedits.h"

#include "device/lib/dialstring.h"
#include "dialogs/dialoghelpers.h"
#include "res/resource.h"

#include <algorithm>
#include <optional>

namespace {

const char* const phoneCharacters = "-0123456789";
const char* const dialStringFormat = "FaxNum";

BOOL OnlyOf(const QString& text, const char* characters)
{
    const QString set = QString::fromLatin1(characters);
    return std::all_of(text.begin(), text.end(), [&set](QChar c) { return set.contains(c); });
}

BOOL OneOf(UINT nChar, const char* characters)
{
    return nChar < 0x10000 && OnlyOf(QString(QChar(char16_t(nChar))), characters);
}

// A "+" anywhere but first is no number the device can dial.
BOOL PlusOnlyFirst(const CString& text)
{
    return text.Mid(1).Find(u'+') < 0;
}

// The text with the selection replaced.
CString Replaced(const CString& text, int start, int end, const CString& inserted)
{
    return text.Left(start) + inserted + text.Mid(end);
}

int FaxNumberLimit(const CString& text)
{
    CString spaces = text;
    return faxNumberLength - (text.Find(u'+') >= 0 ? 1 : 0) - spaces.Remove(u' ');
}

// The "FaxNum" item's dial string of what a WM_PASTE pastes: single-byte text, up to its NUL
// when it has one.
std::optional<CString> ClipboardDialString(WPARAM pasteSource)
{
    std::optional<QByteArray> data = afx::ClipboardFormatData(dialStringFormat, pasteSource);
    if (!data)
        return std::nullopt;
    const qsizetype end = data->indexOf('\0');
    return CString(QString::fromLatin1(end < 0 ? *data : data->left(end)));
}

// Leaves the dial string alone on the clipboard, as a "FaxNum" item. TRUE when it is there.
BOOL PutDialString(const CString& dialString)
{
    QByteArray data = QString(dialString).toLatin1();
    data.append('\0');
    return afx::SetClipboardFormatData(dialStringFormat, data);
}

} // namespace

// ---- CDialStringEdit ----

IMPLEMENT_DYNAMIC(CDialStringEdit, CEdit)

BEGIN_MESSAGE_MAP(CDialStringEdit, CEdit)
    ON_MESSAGE(WM_UNDO, &CDialStringEdit::OnUndo)
    ON_MESSAGE(EM_CANUNDO, &CDialStringEdit::OnCanUndo)
END_MESSAGE_MAP()

BOOL CDialStringEdit::IsControlCharacter(UINT nChar)
{
    return nChar < 32 || nChar == 127;
}

BOOL CDialStringEdit::PassesControlCharacter(UINT nChar)
{
    const BOOL modified = GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0;
    switch (nChar) {
    case VK_BACK:
        return !modified;   // Ctrl+Backspace deletes a word, Alt+Backspace undoes
    case 1:                 // Ctrl+A, select all
    case 3:                 // Ctrl+C, copy
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL CDialStringEdit::TakeControlCharacter(UINT nChar)
{
    if (!IsControlCharacter(nChar))
        return FALSE;
    if (PassesControlCharacter(nChar))
        Default();
    return TRUE;
}

void CDialStringEdit::RefuseCharacter(UINT messageId)
{
    AfxMessageBox(messageId, MB_OK | MB_ICONERROR);
    SetFocus();
}

CString CDialStringEdit::Text() const
{
    CString text;
    GetWindowText(text);
    return text;
}

void CDialStringEdit::Selection(int& start, int& end) const
{
    GetSel(start, end);
    if (start > end)
        std::swap(start, end);
}

// ---- CPhoneNumberEdit ----

IMPLEMENT_DYNAMIC(CPhoneNumberEdit, CDialStringEdit)

BEGIN_MESSAGE_MAP(CPhoneNumberEdit, CDialStringEdit)
    ON_WM_CHAR()
    ON_MESSAGE(WM_PASTE, &CPhoneNumberEdit::OnPaste)
END_MESSAGE_MAP()

void CPhoneNumberEdit::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (TakeControlCharacter(nChar))
        return;
    int start = 0, end = 0;
    Selection(start, end);
    const CString typed = QString(QChar(char16_t(nChar)));
    if (OneOf(nChar, "+-0123456789") && PlusOnlyFirst(Replaced(Text(), start, end, typed)))
        Default();
    else
        RefuseCharacter(IDP_INVALID_PHONE_CHARACTERS);
}

// A paste follows the rules of typing: digits and hyphens, a "+" only where it ends up first.
LRESULT CPhoneNumberEdit::OnPaste(WPARAM pasteSource, LPARAM)
{
    const CString pasted = afx::ClipboardText(pasteSource);
    if (pasted.IsEmpty())
        return 0;
    int start = 0, end = 0;
    Selection(start, end);
    const CString examined = start == 0 && pasted[0] == u'+' ? pasted.Mid(1) : pasted;
    if (OnlyOf(examined, phoneCharacters) && PlusOnlyFirst(Replaced(Text(), start, end, pasted)))
        ReplaceSel(pasted);
    return 0;
}

// ---- CFaxNumberEdit ----

IMPLEMENT_DYNAMIC(CFaxNumberEdit, CDialStringEdit)

BEGIN_MESSAGE_MAP(CFaxNumberEdit, CDialStringEdit)
    ON_WM_CHAR()
    ON_WM_KEYDOWN()
    ON_MESSAGE(WM_CLEAR, &CFaxNumberEdit::OnClear)
    ON_MESSAGE(WM_CUT, &CFaxNumberEdit::OnCut)
    ON_MESSAGE(WM_PASTE, &CFaxNumberEdit::OnPaste)
END_MESSAGE_MAP()

void CFaxNumberEdit::UpdateLimitText()
{
    SetLimitText(UINT(FaxNumberLimit(Text())));
}

BOOL CFaxNumberEdit::SelectionCoversBillingCode(int& selStart, int& selEnd, int& suffixStart, int& length) const
{
    Selection(selStart, selEnd);
    length = Text().GetLength();
    suffixStart = billingCode.IsEmpty() ? length : length - (billingCode.GetLength() + 1);
    return !billingCode.IsEmpty() && selStart <= suffixStart && selEnd == length;
}

int CFaxNumberEdit::BillingCodeRoom() const
{
    const int codeLength = billingCode.GetLength();
    const int room = int(GetLimitText()) - Text().GetLength() + codeLength - 1;
    return codeLength == 0 ? room - 1 : room;
}

void CFaxNumberEdit::SetBillingCode(const CString& code)
{
    // The old mask goes first: joined with an empty code it would stay in the number.
    int start = 0, end = 0, suffixStart = 0, length = 0;
    SelectionCoversBillingCode(start, end, suffixStart, length);
    const CString dialled = Text().Left(suffixStart);
    billingCode = code;
    CString dropped;
    SetWindowText(FaxWithDollarSigns(FaxWithChargeCode(dialled, code), dropped));
    UpdateLimitText();
}

void CFaxNumberEdit::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    const BOOL inSet = OneOf(nChar, faxNumberCharacters);
    int start = 0, end = 0, suffixStart = 0, length = 0;
    const BOOL covers = SelectionCoversBillingCode(start, end, suffixStart, length);
    if (!covers && end > suffixStart) {
        // inside the suffix: dropped silently
    } else if (!IsControlCharacter(nChar) && !inSet) {
        RefuseCharacter(IDP_INVALID_FAX_CHARACTERS);
    } else if (inSet || PassesControlCharacter(nChar)) {
        // The code goes with its suffix, before the owner hears of the new text.
        if (covers && (inSet || nChar == VK_BACK))
            billingCode.Empty();
        Default();
    }
    UpdateLimitText();
}

void CFaxNumberEdit::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar != VK_DELETE)
        Default();
    else if (GetKeyState(VK_CONTROL) >= 0)   // Ctrl+Delete removes a word at once: not taken
        DeleteSelection();
    UpdateLimitText();
}

LRESULT CFaxNumberEdit::OnClear(WPARAM, LPARAM)
{
    DeleteSelection();
    UpdateLimitText();
    return 0;
}

void CFaxNumberEdit::DeleteSelection()
{
    int start = 0, end = 0, suffixStart = 0, length = 0;
    if (SelectionCoversBillingCode(start, end, suffixStart, length)) {
        billingCode.Empty();
        Default();
    } else if (end < suffixStart || (end == suffixStart && start < end)) {
        Default();
    }
}

LRESULT CFaxNumberEdit::OnCut(WPARAM, LPARAM)
{
    int start = 0, end = 0, suffixStart = 0, length = 0;
    if (SelectionCoversBillingCode(start, end, suffixStart, length)) {
        // The code leaves the field only once the clipboard holds it.
        if (PutDialString(FaxWithChargeCode(Text().Mid(start, end - start), billingCode))) {
            billingCode.Empty();
            ReplaceSel(CString());
        }
    } else if (end <= suffixStart) {
        Default();
    }
    UpdateLimitText();
    return 0;
}

LRESULT CFaxNumberEdit::OnPaste(WPARAM pasteSource, LPARAM)
{
    int start = 0, end = 0, suffixStart = 0, length = 0;
    const BOOL covers = SelectionCoversBillingCode(start, end, suffixStart, length);
    if (const std::optional<CString> dialString = ClipboardDialString(pasteSource)) {
        if (covers || (billingCode.IsEmpty() && end == length))
            PasteDialString(*dialString, start, end);
    } else if (end <= suffixStart && OnlyOf(afx::ClipboardText(pasteSource), faxNumberCharacters)) {
        Default();
    }
    UpdateLimitText();
    return 0;
}

// The item may come from any program: its number and code must be of their fields' sets, and
// the field's text with it must fit the field's limit; otherwise it is refused silently, as a
// wrong plain-text paste is.
void CFaxNumberEdit::PasteDialString(const CString& dialString, int selStart, int selEnd)
{
    CString code;
    const CString shown = FaxWithDollarSigns(dialString, code);
    const CString dialled = shown.Left(shown.GetLength() - (code.IsEmpty() ? 0 : code.GetLength() + 1));
    const CString result = Replaced(Text(), selStart, selEnd, shown);
    if (!OnlyOf(dialled, faxNumberCharacters) || !OnlyOf(code, billingCodeCharacters) || result.GetLength() > FaxNumberLimit(result))
        return;
    SetLimitText(UINT(FaxNumberLimit(result)));
    billingCode = code;
    ReplaceSel(shown);
}

// ---- CBillingCodeEdit ----

IMPLEMENT_DYNAMIC(CBillingCodeEdit, CDialStringEdit)

BEGIN_MESSAGE_MAP(CBillingCodeEdit, CDialStringEdit)
    ON_WM_CHAR()
    ON_MESSAGE(WM_CUT, &CBillingCodeEdit::OnCut)
    ON_MESSAGE(WM_PASTE, &CBillingCodeEdit::OnPaste)
END_MESSAGE_MAP()

void CBillingCodeEdit::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (TakeControlCharacter(nChar))
        return;
    if (OneOf(nChar, billingCodeCharacters))
        Default();
    else
        RefuseCharacter(IDP_INVALID_BILLING_CHARACTERS);
}

LRESULT CBillingCodeEdit::OnCut(WPARAM, LPARAM)
{
    int start = 0, end = 0;
    Selection(start, end);
    const CString selected = Text().Mid(start, end - start);
    if (selected.IsEmpty())
        return 0;
    Default();
    // Replaces the plain text the standard cut placed; when it cannot, that text stays.
    PutDialString(FaxWithChargeCode(CString(), selected));
    return 0;
}

// Only the code of a "FaxNum" item, whole, when it is of the set and fits; never plain text.
LRESULT CBillingCodeEdit::OnPaste(WPARAM pasteSource, LPARAM)
{
    const std::optional<CString> dialString = ClipboardDialString(pasteSource);
    if (!dialString)
        return 0;
    CString code;
    FaxWithDollarSigns(*dialString, code);
    int start = 0, end = 0;
    Selection(start, end);
    const int room = int(GetLimitText()) - (Text().GetLength() - (end - start));
    if (!code.IsEmpty() && OnlyOf(code, billingCodeCharacters) && code.GetLength() <= room)
        ReplaceSel(code);
    return 0;
}

void DDX_FaxNumber(CDataExchange* pDX, int controlId, CFaxNumberEdit& field, CString& dialString)
{
    CString shown;
    if (!pDX->m_bSaveAndValidate)
        shown = FaxWithDollarSigns(dialString, field.billingCode);
    DDX_TextTrim(pDX, controlId, shown);
    if (pDX->m_bSaveAndValidate)
        dialString = FaxWithChargeCode(shown, field.billingCode);
    else
        field.UpdateLimitText();
}
