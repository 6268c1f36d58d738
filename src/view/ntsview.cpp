#include "view/ntsview.h"

IMPLEMENT_DYNCREATE(CNtsView, CView)

void CNtsView::OnDraw(CDC*)
{
}
