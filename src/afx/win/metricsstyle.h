// Inside the layer: the toolkit's style with Windows' metrics where the templates were laid out
// for them.
#pragma once

class QStyle;

namespace afx::detail {
// Check boxes and radio buttons: a 13-pixel box with the text 4 pixels after it (the
// toolkit's wider spacing would clip short labels such as "&Ven"). Tabs: as wide as their
// title and 6 pixels each side (wider tabs would push the last of five titles behind scroll
// arrows). One style for the program, gone with the application.
QStyle* WindowsMetricsStyle();
} // namespace afx::detail
