// The edit fields of numbers the device dials. Each refuses, key by key, every character
// outside its own set, and dial strings move between them through the clipboard format
// "FaxNum", which carries the billing code the fields never show.
#pragma once

#include "afx/afxwin.h"

// What the three fields share. None of them undoes: the toolkit's history would bring back a
// text the field refused, or a masked suffix without its code. Of the control characters only
// Backspace, Ctrl+A and Ctrl+C are passed on: the others undo, redo, or delete a word or a line
// at once, past the field's checks.
class CDialStringEdit : public CEdit {
    DECLARE_DYNAMIC(CDialStringEdit)
protected:
    // Below 32, or DEL (Ctrl+Backspace on Windows).
    static BOOL IsControlCharacter(UINT nChar);
    // A control character the field passes on (see above).
    static BOOL PassesControlCharacter(UINT nChar);
    // TRUE for a control character, then passed on or dropped; FALSE for any other.
    BOOL TakeControlCharacter(UINT nChar);
    // A typed character refused: the message in an error box, the focus back to the field.
    void RefuseCharacter(UINT messageId);
    CString Text() const;
    // The selection ordered start <= end.
    void Selection(int& start, int& end) const;

    afx_msg LRESULT OnUndo(WPARAM, LPARAM) { return 0; }
    afx_msg LRESULT OnCanUndo(WPARAM, LPARAM) { return FALSE; }
    DECLARE_MESSAGE_MAP()
};

// The device's own line number: digits and hyphens, and one "+" in first place.
class CPhoneNumberEdit : public CDialStringEdit {
    DECLARE_DYNAMIC(CPhoneNumberEdit)
protected:
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg LRESULT OnPaste(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()
};

// A fax number that may carry a billing code. The field shows the number with a masked suffix
// of (code length + 1) characters in place of the code, keeps the code in `billingCode`, and
// lets the suffix go only as a whole. `billingCode` changes before the text does, so the
// owner's change notification always sees the two together.
class CFaxNumberEdit : public CDialStringEdit {
    DECLARE_DYNAMIC(CFaxNumberEdit)
public:
    // The code behind the shown suffix; empty when the shown text has none.
    CString billingCode;

    // 128 characters, spaces and one "+" not counted.
    void UpdateLimitText();
    // Fills the selection (ordered), the suffix start and the text length; TRUE when the field
    // has a code and the selection runs from the suffix start or before it to the end.
    BOOL SelectionCoversBillingCode(int& selStart, int& selEnd, int& suffixStart, int& length) const;
    // The longest billing code the field still has room for; 0 or less when none.
    int BillingCodeRoom() const;
    // Gives the shown number the code (an empty one removes it).
    void SetBillingCode(const CString& code);

protected:
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg LRESULT OnClear(WPARAM, LPARAM);
    afx_msg LRESULT OnCut(WPARAM, LPARAM);
    afx_msg LRESULT OnPaste(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

private:
    // The Delete key, and the context menu's delete: the suffix goes only as a whole.
    void DeleteSelection();
    // A "FaxNum" item replaces the selection, its code masked, when it fits the field.
    void PasteDialString(const CString& dialString, int selStart, int selEnd);
};

// A stored dial string and a fax-number field: loading shows it with its code masked and the
// code in the field's `billingCode`; saving joins the trimmed shown text and that code again,
// so whatever code a paste brought is the one stored, never the mask.
void DDX_FaxNumber(CDataExchange* pDX, int controlId, CFaxNumberEdit& field, CString& dialString);

// A billing code alone: digits, "#" and "*". It pastes only "FaxNum" items (their code).
class CBillingCodeEdit : public CDialStringEdit {
    DECLARE_DYNAMIC(CBillingCodeEdit)
protected:
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg LRESULT OnCut(WPARAM, LPARAM);
    afx_msg LRESULT OnPaste(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()
};
