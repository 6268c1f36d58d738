#include "afx/win/commctrl.h"

#include <QWidget>

void afx::detail::RegisterCommonControls()
{
    RegisterListBox();
    RegisterListCtrl();
    RegisterTreeCtrl();
    RegisterDateTimeCtrl();
    RegisterIPAddressCtrl();
    RegisterSpinButtonCtrl();
}

void afx::detail::HideSelectionWithoutFocus(QWidget* view)
{
    QPalette colours = view->palette();
    colours.setBrush(QPalette::Inactive, QPalette::Highlight, colours.brush(QPalette::Inactive, QPalette::Base));
    colours.setBrush(QPalette::Inactive, QPalette::HighlightedText, colours.brush(QPalette::Inactive, QPalette::Text));
    view->setPalette(colours);
}
