#include "afx/win/commctrl.h"

void afx::detail::RegisterCommonControls()
{
    RegisterListBox();
    RegisterListCtrl();
    RegisterTreeCtrl();
    RegisterDateTimeCtrl();
    RegisterIPAddressCtrl();
    RegisterSpinButtonCtrl();
}
