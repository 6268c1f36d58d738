// What every settings page, panel and entry dialog of the console is built from: choice lists
// filled from resource strings, number fields that clamp themselves, data exchange of trimmed
// text, time windows and addresses, runs of neighbouring controls, the name font, section
// copies, the F1 key of modal dialogs, and the settings page protocol (live write-through of
// every change, defaults button).
#pragma once

#include "afx/afxwin.h"
#include "device/lib/fields.h"
#include "device/lib/interval.h"

// Fills every combo box among the dialog's direct children from the string of the same id
// (items separated by ";"), and combo 1136 with the country list. Call before the base
// OnInitDialog, so that the index exchange finds the items.
void FillComboBoxes(CWnd* dialog);

// The one font of fields whose text becomes a name, address or contact on the device.
void SetDeviceNameFont(CWnd* dialog, int controlId);

// A digits edit with its spin control right behind it in control order. Every change of its
// text is clamped to the range at once, written to the parent's data and marks the document
// modified.
class CNumberEdit : public CEdit {
    DECLARE_DYNAMIC(CNumberEdit)
public:
    unsigned minimum = 0;
    unsigned maximum = 0;

    // Stores the range, limits the text to the digits of the maximum, and gives the spin
    // control the same range.
    void SetRange(unsigned minimum, unsigned maximum);
    // The range of a field's rule (fields::RuleOf).
    void SetRange(const fields::Rule& rule) { SetRange(unsigned(rule.low), unsigned(rule.high)); }

protected:
    afx_msg void OnChange();

    DECLARE_MESSAGE_MAP()
};

// The standard text exchange, then the value trimmed of surrounding white space (both ways).
void DDX_TextTrim(CDataExchange* dx, int controlId, CString& value);
// A time window with two time pickers (start, stop).
void DDX_Interval(CDataExchange* dx, int startControlId, int stopControlId, CInterval& interval);
// An address of four octets, leftmost first, with an IP address control.
void DDX_IPOctets(CDataExchange* dx, int controlId, BYTE (&octets)[4]);

// Enable or show the control, `before` windows before it and `after` windows after it in the
// dialog's control order.
void EnableControlRun(CWnd* dialog, int controlId, int before, int after, BOOL enable);
void ShowControlRun(CWnd* dialog, int controlId, int before, int after, BOOL show);

// Copies a section of one settings record onto the same section of another through its
// serialised form. FALSE when that failed; the destination may then be partly loaded.
BOOL CopySection(CObject& destination, CObject& source);

// Marks the main window's active document modified; nothing without one.
void MarkDocumentModified();

// Whether the main window's network-mode command is checked; FALSE when the menu lacks it.
BOOL IsNetworkMode();

// While it lives, F1 inside a modal dialog that has a help button (id 9) presses that button:
// made around the dialog's DoModal. Scopes nest; the key is watched from the first one made
// to the last one gone.
class CHelpKeyScope {
public:
    CHelpKeyScope();
    ~CHelpKeyScope();
    CHelpKeyScope(const CHelpKeyScope&) = delete;
    CHelpKeyScope& operator=(const CHelpKeyScope&) = delete;
};
// The dialog run modally within such a scope; returns what DoModal returns.
INT_PTR DoModalWithHelpKey(CDialog& dialog);

// The protocol every settings page and panel follows: each change of a bound control goes to
// OnSettingChange, which writes the whole window back into its section and marks the
// document modified; the defaults button (1241) restores the section from a fresh record.
class CSettingsProtocol {
protected:
    // `attachment`: a member control of the window; changes are ignored until it has its
    // widget (while the window is being built). nullptr: no such test.
    CSettingsProtocol(CObject& section, CWnd* attachment) : section(section), attachment(attachment) {}

    void WriteThrough(CWnd& window);
    void RestoreDefaults(CWnd& window);

    CObject& section;

private:
    CWnd* attachment;
};

class CSettingsPage : public CPropertyPage, protected CSettingsProtocol {
    DECLARE_DYNAMIC(CSettingsPage)
protected:
    CSettingsPage(UINT templateId, CObject& section, CWnd* attachment)
        : CPropertyPage(templateId), CSettingsProtocol(section, attachment)
    {
    }

    afx_msg void OnSettingChange() { WriteThrough(*this); }
    afx_msg void OnDefaults() { RestoreDefaults(*this); }

    DECLARE_MESSAGE_MAP()
};

class CSettingsPanel : public CDialog, protected CSettingsProtocol {
    DECLARE_DYNAMIC(CSettingsPanel)
protected:
    CSettingsPanel(UINT templateId, CObject& section, CWnd* attachment)
        : CDialog(templateId), CSettingsProtocol(section, attachment)
    {
    }

    afx_msg void OnSettingChange() { WriteThrough(*this); }
    afx_msg void OnDefaults() { RestoreDefaults(*this); }

    DECLARE_MESSAGE_MAP()
};
