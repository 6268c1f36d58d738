#include "frame/iconbar.h"

#include "res/resource.h"
#include "view/categorytable.h"

#include <QApplication>
#include <QCursor>
#include <QFontMetrics>
#include <QPixmap>
#include <QPixmapCache>
#include <algorithm>

namespace {

constexpr UINT_PTR kHotTrackTimer = 1;
constexpr UINT kHotTrackPeriod = 10;   // milliseconds
constexpr int kIconSize = 32;
constexpr int kIconTop = 15;           // from the item's top
constexpr int kCaptionTop = 50;        // from the item's top
constexpr int kItemExtra = 55;         // the item's height beyond its caption's
constexpr int kIconFrame = 2;          // around the icon, for the hot frame
constexpr int kListMargin = 15;        // the bar's height beyond its list's

CString CategoryCaption(DWORD_PTR category)
{
    UINT iconId = 0, captionId = 0;
    GetCategoryResources(int(category), iconId, captionId);
    CString caption;
    caption.LoadString(captionId);
    return caption;
}

void Draw3dRect(QPainter& painter, const QRect& rect, const QColor& topLeft, const QColor& bottomRight)
{
    painter.setPen(topLeft);
    painter.drawLine(rect.topLeft(), rect.topRight());
    painter.drawLine(rect.topLeft(), rect.bottomLeft());
    painter.setPen(bottomRight);
    painter.drawLine(rect.bottomLeft(), rect.bottomRight());
    painter.drawLine(rect.topRight(), rect.bottomRight());
}

// The 128 strips of the gradient over a rectangle at the origin.
void PaintStrips(QSize size, QPainter& painter)
{
    const float stripWidth = float(size.width()) / 128;
    float red = 10, green = 65, blue = 65;
    for (int k = 0; k < 128; ++k) {
        const int left = int(float(k) * stripWidth);
        const int right = int(float(k + 1) * stripWidth);
        painter.fillRect(QRect(QPoint(left, 0), QPoint(right - 1, size.height() - 1)),
                         QColor(int(red), int(green), int(blue)));
        const float sign = k < 64 ? 1.0f : -1.0f;
        red = std::clamp(red + sign * 0.3125f, 0.0f, 255.0f);
        green = std::clamp(green + sign * 2.0f, 0.0f, 255.0f);
        blue = std::clamp(blue + sign * 2.0f, 0.0f, 255.0f);
    }
}

} // namespace

void PaintGradient(const CRect& rect, QPainter& painter)
{
    // Every item of the bar has the same size and repaints often: the strips are painted once
    // per size. Pixels no strip covers stay transparent, as they stay untouched without the copy.
    const QSize size(int(rect.Width()), int(rect.Height()));
    if (size.isEmpty())
        return;
    const QString key = QStringLiteral("tamsel-gradient-%1x%2").arg(size.width()).arg(size.height());
    QPixmap strips;
    if (!QPixmapCache::find(key, &strips)) {
        strips = QPixmap(size);
        strips.fill(Qt::transparent);
        QPainter stripPainter(&strips);
        PaintStrips(size, stripPainter);
        stripPainter.end();
        QPixmapCache::insert(key, strips);
    }
    // The strips start at the painter's left edge, whatever the rectangle's left.
    painter.drawPixmap(QPoint(0, int(rect.top)), strips);
}

BOOL CreateCategoryFont(CFont& font)
{
    return font.CreatePointFont(100, QApplication::font().family());
}

// ---- CIconListBox ----

IMPLEMENT_DYNAMIC(CIconListBox, CListBox)

BEGIN_MESSAGE_MAP(CIconListBox, CListBox)
    ON_WM_ERASEBKGND()
    ON_WM_MOUSEMOVE()
    ON_WM_TIMER()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

void CIconListBox::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    CRect client;
    GetClientRect(client);
    const int width = client.Width() - GetSystemMetrics(SM_CXHSCROLL);
    CFont font;
    const QFont measuring = CreateCategoryFont(font) ? font.GetQFont() : m_hWnd->font();
    const QRect text = QFontMetrics(measuring).boundingRect(QRect(0, 0, std::max(1, width), 0),
                                                            Qt::AlignHCenter | Qt::TextWordWrap,
                                                            CategoryCaption(lpMeasureItemStruct->itemData));
    lpMeasureItemStruct->itemHeight = UINT(text.height() + kItemExtra);
}

CString CIconListBox::GetItemAccessibleName(int nIndex) const
{
    return nIndex >= 0 && nIndex < GetCount() ? CategoryCaption(GetItemData(nIndex)) : CString();
}

void CIconListBox::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    QPainter& painter = *lpDrawItemStruct->hDC;
    const CRect item = lpDrawItemStruct->rcItem;
    const QPoint iconAt((item.Width() - kIconSize) / 2, int(item.top) + kIconTop);
    const QRect frame = QRect(iconAt, QSize(kIconSize, kIconSize)).adjusted(-kIconFrame, -kIconFrame, kIconFrame, kIconFrame);
    CRect textRect = item;
    textRect.top += kCaptionTop;

    UINT iconId = 0, captionId = 0;
    GetCategoryResources(int(lpDrawItemStruct->itemData), iconId, captionId);
    CString caption;
    caption.LoadString(captionId);
    const HICON icon = AfxLoadIcon(iconId);

    auto draw = [&](bool withFrame) {
        PaintGradient(item, painter);
        if (icon)
            icon->paint(&painter, QRect(iconAt, QSize(kIconSize, kIconSize)));
        painter.setPen(Qt::white);
        painter.drawText(QRect(textRect), Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, caption);
        if (!withFrame || !mouseInside || hotItem != int(lpDrawItemStruct->itemID))
            return;
        const QPalette& palette = m_hWnd->palette();
        const QColor shadow = palette.color(QPalette::Shadow);
        const QColor face = palette.color(QPalette::Button);
        if (buttonDown)
            Draw3dRect(painter, frame, shadow, face);
        else
            Draw3dRect(painter, frame, face, shadow);
    };

    const UINT action = lpDrawItemStruct->itemAction;
    const bool selected = lpDrawItemStruct->itemState & ODS_SELECTED;
    if (action & ODA_DRAWENTIRE)
        draw(true);
    if (selected && (action & (ODA_DRAWENTIRE | ODA_SELECT)))
        draw(true);
    if (!selected && (action & ODA_SELECT))
        draw(false);
}

BOOL CIconListBox::OnEraseBkgnd(CDC* pDC)
{
    CRect client;
    GetClientRect(client);
    PaintGradient(client, *pDC->GetPainter());
    return TRUE;
}

void CIconListBox::OnMouseMove(UINT nFlags, CPoint point)
{
    SetTimer(kHotTrackTimer, kHotTrackPeriod);
    Default();
}

void CIconListBox::OnTimer(UINT_PTR nIDEvent)
{
    CRect list;
    GetWindowRect(list);
    CPoint cursor(QCursor::pos());
    if (list.PtInRect(cursor)) {
        mouseInside = TRUE;
        ScreenToClient(&cursor);
        BOOL outside = TRUE;
        const int item = int(ItemFromPoint(cursor, outside));
        if (item != hotItem && !outside) {
            if (hotItem >= 0)
                RepaintItem(hotItem);
            hotItem = item;
            RepaintItem(hotItem);
        }
        return;
    }
    mouseInside = FALSE;
    if (!buttonDown && hotItem >= 0) {
        RepaintItem(hotItem);
        hotItem = -1;
    }
    KillTimer(kHotTrackTimer);
}

void CIconListBox::OnLButtonDown(UINT nFlags, CPoint point)
{
    buttonDown = TRUE;
    RepaintItemAt(point);
    Default();
}

void CIconListBox::OnLButtonUp(UINT nFlags, CPoint point)
{
    buttonDown = FALSE;
    const int item = RepaintItemAt(point);
    // Below an empty list there is no category to show.
    if (item >= 0) {
        auto* frame = dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
        if (CDocument* document = frame ? frame->GetActiveDocument() : nullptr)
            document->UpdateAllViews(nullptr, LPARAM(100 + GetItemData(item)), nullptr);
    }
    Default();
}

int CIconListBox::RepaintItemAt(CPoint point)
{
    BOOL outside = TRUE;
    const int item = int(ItemFromPoint(point, outside));
    if (item >= GetCount())
        return -1;
    RepaintItem(item);
    return item;
}

void CIconListBox::RepaintItem(int index)
{
    CRect rect;
    if (GetItemRect(index, rect) != LB_ERR)
        InvalidateRect(rect, TRUE);
}

// ---- CIconBar ----

IMPLEMENT_DYNAMIC(CIconBar, CDialogBar)

BEGIN_MESSAGE_MAP(CIconBar, CDialogBar)
    ON_WM_SIZE()
END_MESSAGE_MAP()

BOOL CIconBar::Create(CWnd* parent, UINT templateId, DWORD style)
{
    if (!CDialogBar::Create(parent, templateId, style, templateId))
        return FALSE;
    if (!categoryList.SubclassDlgItem(IDC_CATEGORY_LIST, this))
        return FALSE;
    // Its items are painted, not texts: screen readers know the list by this name.
    CString name;
    name.LoadString(IDS_CATEGORY_LIST_NAME);
    categoryList.m_hWnd->setAccessibleName(name);
    auto font = std::make_unique<CFont>();
    if (CreateCategoryFont(*font)) {
        listFont = std::move(font);
        categoryList.SetFont(listFont.get(), TRUE);
    }
    created = TRUE;
    return TRUE;
}

void CIconBar::OnSize(UINT nType, int cx, int cy)
{
    Default();
    if (!created)
        return;
    CRect list;
    categoryList.GetWindowRect(list);
    ScreenToClient(list);
    CRect client;
    GetClientRect(client);
    categoryList.MoveWindow(int(list.left), int(list.top), list.Width(), client.Height() - kListMargin);
}

int CIconBar::HeightForAllItems() const
{
    if (!created)
        return 0;
    int items = 0;
    for (int index = 0; index < categoryList.GetCount(); ++index)
        items += categoryList.GetItemHeight(index);
    // Beyond the items: the list's border and the bar's.
    CRect listWindow, listClient, window, client;
    categoryList.GetWindowRect(listWindow);
    categoryList.GetClientRect(listClient);
    GetWindowRect(window);
    GetClientRect(client);
    return items + int(listWindow.Height() - listClient.Height()) + kListMargin + int(window.Height() - client.Height());
}
