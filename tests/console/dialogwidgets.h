// The controls of a live dialog or page, found by id and worked as the user does.
#pragma once

#include "afx/afxwin.h"

#include <QTest>

namespace dialogwidgets {

inline QWidget* Widget(CWnd& window, int id)
{
    CWnd* control = window.GetDlgItem(id);
    return control ? control->m_hWnd : nullptr;
}
inline bool Enabled(CWnd& window, int id)
{
    return window.GetDlgItem(id)->IsWindowEnabled();
}
inline CString FieldText(CWnd& window, int id)
{
    CString text;
    window.GetDlgItemText(id, text);
    return text;
}
// A click on the button, as the mouse gives it: nothing when the button is disabled.
inline void Press(CWnd& window, int id)
{
    QTest::mouseClick(Widget(window, id), Qt::LeftButton);
}
// Replaces the edit's text as the user does: everything selected, then typed over.
inline void Retype(CWnd& window, int id, const QString& text)
{
    window.GetDlgItem(id)->SendMessage(EM_SETSEL, 0, -1);
    if (text.isEmpty())
        QTest::keyClick(Widget(window, id), Qt::Key_Backspace);
    else
        QTest::keyClicks(Widget(window, id), text);
}

} // namespace dialogwidgets
