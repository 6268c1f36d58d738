// The common controls' tests: dialogs built from a small script of the test's own, put in
// front of the console's for the life of each test.
#pragma once

#include "afx/core/resources.h"
#include "afx/win/dialog.h"
#include "afx/win/dlgtemplate.h"

#include <QApplication>
#include <QWidget>
#include <gtest/gtest.h>

namespace testctl {

// A script of one popup dialog holding the controls (template statements, one a line).
inline QByteArray DialogScript(int id, const char* caption, int cx, int cy, const char* controls)
{
    return QStringLiteral("%1 DIALOGEX 0, 0, %2, %3\n"
                          "STYLE DS_SETFONT | WS_POPUP | WS_CAPTION\n"
                          "CAPTION \"%4\"\n"
                          "FONT 8, \"MS Sans Serif\", 0, 0, 0x0\n"
                          "BEGIN\n%5END\n")
        .arg(id).arg(cx).arg(cy).arg(QString::fromUtf8(caption), QString::fromUtf8(controls))
        .toUtf8();
}

class ControlDialogs : public ::testing::Test {
protected:
    explicit ControlDialogs(const QByteArray& scriptText)
        : script(afx::ResourceScript::Parse(scriptText, QByteArray(), QStringLiteral("controls.rc"))),
          previous(afx::SetDialogResources(&script))
    {
    }
    ~ControlDialogs() override { afx::SetDialogResources(previous); }

    // Shows the dialog as the active window, so that focus moves between its controls.
    static void ShowActive(CDialog& dialog)
    {
        dialog.m_hWnd->show();
        dialog.m_hWnd->activateWindow();
        QApplication::processEvents();
    }

    afx::ResourceScript script;

private:
    const afx::ResourceScript* previous;
};

} // namespace testctl
