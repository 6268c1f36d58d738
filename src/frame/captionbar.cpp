#include "frame/captionbar.h"

namespace {

constexpr COLORREF kTeal = RGB(30, 100, 100);

} // namespace

IMPLEMENT_DYNAMIC(CCaptionBar, CDialogBar)

BEGIN_MESSAGE_MAP(CCaptionBar, CDialogBar)
    ON_WM_PAINT()
END_MESSAGE_MAP()

void CCaptionBar::OnPaint()
{
    CPaintDC dc(this);
    QPainter& painter = *dc.GetPainter();
    CString text;
    if (captionId)
        text.LoadString(captionId);

    CRect rect;
    GetClientRect(rect);
    rect.DeflateRect(0, 5);
    painter.setPen(Qt::black);
    painter.setBrush(ColorFromRef(kTeal));
    painter.drawRect(QRect(rect).adjusted(0, 0, -1, -1));

    rect.DeflateRect(8, 1);
    CFont font;
    font.CreateFont(-15, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, 0, 0, 0, 0, 0, "Arial");
    CFont* previousFont = dc.SelectObject(&font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(rect), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
    dc.SelectObject(previousFont);
}
