// The core controls' registration with the template builder; each control is in its own file.
#include "afx/win/corecontrols.h"

namespace afx::detail {

void RegisterCoreControls()
{
    RegisterStatic();
    RegisterButton();
    RegisterEdit();
    RegisterComboBox();
}

} // namespace afx::detail
