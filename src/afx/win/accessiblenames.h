// Names for assistive technologies: a control with no text of its own is named after the text
// that labels it in its dialog template, a page shown inside another window after its caption.
#pragma once

#include <vector>

class QWidget;

namespace afx {

struct DialogTemplate;

// The controls are the template's items, made in their order. A control without a text of its
// own is named by the label before it: a static text or a group box's title, across buttons
// and other controls (an edit and its spin share their label). Before any label, it is named
// as the dialog is: a window by its title as it changes, a page by its caption.
void NameTemplateControls(QWidget* dialog, const DialogTemplate& tmpl, const std::vector<QWidget*>& controls);

} // namespace afx
