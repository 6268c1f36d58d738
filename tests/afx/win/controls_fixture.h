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
