// Dialogs for the window layer's tests, built from a small resource script put in front of
// the console's own.
#pragma once

#include "afx/afxwin.h"
#include "afx/core/resources.h"
#include "afx/win/testing.h"

#include <QStringList>
#include <QWidget>
#include <gtest/gtest.h>

namespace testwin {

inline const QByteArray kHeader = R"(
#define IDOK            1
#define IDCANCEL        2
#define IDD_FORM        100
#define IDD_PAGE        101
#define IDD_SIZABLE     102
#define IDD_BUSY        103
#define IDC_NAME        1000
#define IDC_COUNT       1001
#define IDC_CODE        1002
#define IDC_RADIO_A     1010
#define IDC_RADIO_B     1011
#define IDC_RADIO_C     1012
#define IDC_ACTIVE      1020
#define IDC_CHOICE      1030
#define IDC_LEVEL       1031
#define IDC_OTHER       1040
)";

// A form of the usual controls, in a known order, and a child page.
inline const QByteArray kScript = R"(
IDD_FORM DIALOGEX 0, 0, 200, 120
STYLE DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU
CAPTION "Fiche"
FONT 8, "MS Sans Serif", 0, 0, 0x0
BEGIN
    LTEXT           "&Nom :",IDC_STATIC,7,7,40,8
    EDITTEXT        IDC_NAME,50,5,100,12,ES_AUTOHSCROLL
    EDITTEXT        IDC_COUNT,50,20,30,12,ES_NUMBER
    EDITTEXT        IDC_CODE,90,20,30,12
    GROUPBOX        "Mode",IDC_STATIC,7,35,90,50
    AUTORADIOBUTTON "A",IDC_RADIO_A,12,45,30,10,WS_GROUP | WS_TABSTOP
    LTEXT           "entre",IDC_STATIC,45,45,20,8,NOT WS_GROUP
    AUTORADIOBUTTON "B",IDC_RADIO_B,12,57,30,10
    AUTORADIOBUTTON "C",IDC_RADIO_C,12,69,30,10
    AUTOCHECKBOX    "Actif",IDC_ACTIVE,105,45,50,10,WS_GROUP
    COMBOBOX        IDC_CHOICE,105,60,80,50,CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP
    COMBOBOX        IDC_LEVEL,105,75,80,50,CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP
    DEFPUSHBUTTON   "OK",IDOK,86,99,50,14
    PUSHBUTTON      "Annuler",IDCANCEL,143,99,50,14
END

IDD_FORM DLGINIT
BEGIN
    IDC_LEVEL, "0"
    IDC_LEVEL, "1"
    IDC_LEVEL, "2"
END

IDD_PAGE DIALOGEX 0, 0, 120, 40
STYLE DS_SETFONT | WS_CHILD
FONT 8, "MS Sans Serif", 0, 0, 0x0
BEGIN
    EDITTEXT        IDC_OTHER,5,5,100,12,ES_AUTOHSCROLL
END

IDD_SIZABLE DIALOGEX 0, 0, 120, 40
STYLE DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX
CAPTION "Outil"
FONT 8, "MS Sans Serif", 0, 0, 0x0
BEGIN
    EDITTEXT        IDC_OTHER,5,5,100,12,ES_AUTOHSCROLL
END

IDD_BUSY DIALOGEX 0, 0, 120, 40
STYLE DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION
CAPTION "Occupé"
FONT 8, "MS Sans Serif", 0, 0, 0x0
BEGIN
    LTEXT           "",IDC_OTHER,5,5,100,12
END
)";

enum : int { IDD_FORM = 100, IDD_PAGE = 101, IDD_SIZABLE = 102, IDD_BUSY = 103, IDC_NAME = 1000, IDC_COUNT = 1001, IDC_CODE = 1002,
             IDC_RADIO_A = 1010, IDC_RADIO_B = 1011, IDC_RADIO_C = 1012, IDC_ACTIVE = 1020,
             IDC_CHOICE = 1030, IDC_LEVEL = 1031, IDC_OTHER = 1040 };

// Puts the test script in front of the console's for the life of a test.
class ScriptedDialogs : public ::testing::Test {
protected:
    ScriptedDialogs() : previous(afx::SetDialogResources(&script)) {}
    ~ScriptedDialogs() override { afx::SetDialogResources(previous); }

    afx::ResourceScript script = afx::ResourceScript::Parse(kScript, kHeader, QStringLiteral("test.rc"));

private:
    const afx::ResourceScript* previous;
};

// Collects the failures the prompt gateway reports, instead of failing the test.
class CapturedFailures {
public:
    CapturedFailures()
        : previous(afx::testing::SetFailureReporter([this](const QString& m) { messages.append(m); }))
    {
    }
    ~CapturedFailures() { afx::testing::SetFailureReporter(previous); }
    QStringList messages;

private:
    std::function<void(const QString&)> previous;
};

inline QWidget* Widget(CWnd* dialog, int id)
{
    CWnd* item = dialog->GetDlgItem(id);
    return item ? item->m_hWnd : nullptr;
}

} // namespace testwin
