// The static control ("Static"): labels, frames, etched lines, icons and bitmaps.
#include "afx/win/controls.h"

#include "afx/win/corecontrols.h"
#include "afx/win/dlgtemplate.h"

#include "afx/core/resources.h"

#include <QFrame>
#include <QLabel>

IMPLEMENT_DYNAMIC(CStatic, CWnd)

using afx::detail::StyleOf;

namespace {

QWidget* CreateStatic(const afx::ControlSpec& spec, QWidget* parent)
{
    const DWORD type = spec.style & SS_TYPEMASK;
    if (type == SS_ETCHEDHORZ || type == 0x11 /* SS_ETCHEDVERT */ || type == 0x12 /* SS_ETCHEDFRAME */
        || (type >= 0x4 && type <= 0x9) /* rectangles and frames */) {
        auto* frame = new QFrame(parent);
        frame->setFrameShape(type == SS_ETCHEDHORZ ? QFrame::HLine : type == 0x11 ? QFrame::VLine : QFrame::Box);
        frame->setFrameShadow(QFrame::Sunken);
        return frame;
    }
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    if (type == SS_ICON || type == SS_BITMAP) {
        bool isNumber = false;
        const UINT id = QString(spec.text).toUInt(&isNumber);
        if (isNumber && type == SS_ICON) {
            if (HICON icon = AfxLoadIcon(id)) {
                label->setPixmap(icon->pixmap(32, 32));
                label->resize(32, 32);
            }
        } else if (isNumber) {
            label->setPixmap(QPixmap::fromImage(afx::LoadPicture(afx::ResourceScript::Instance().BitmapFile(int(id)))));
        }
        label->setAlignment(spec.style & SS_CENTERIMAGE ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignTop);
        return label;
    }
    label->setText(spec.text);
    const Qt::Alignment horizontal = type == SS_CENTER ? Qt::AlignHCenter : type == SS_RIGHT ? Qt::AlignRight : Qt::AlignLeft;
    label->setAlignment(horizontal | (spec.style & SS_CENTERIMAGE ? Qt::AlignVCenter : Qt::AlignTop));
    label->setWordWrap(type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT);
    if (spec.style & SS_SUNKEN)
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    return label;
}

CString StaticText(HWND hWnd)
{
    auto* label = qobject_cast<QLabel*>(hWnd);
    return label ? CString(label->text()) : CString();
}

void SetStaticText(HWND hWnd, const CString& text)
{
    if (auto* label = qobject_cast<QLabel*>(hWnd))
        label->setText(text);
}

} // namespace

void afx::detail::RegisterStatic()
{
    RegisterWindowClass({QStringLiteral("Static"), CreateStatic, nullptr,
                         [] { return static_cast<CWnd*>(new CStatic); }, StaticText, SetStaticText});
}

HICON CStatic::SetIcon(HICON hIcon)
{
    auto* label = qobject_cast<QLabel*>(m_hWnd);
    if (!label)
        return nullptr;
    const HICON previous = GetIcon();
    label->setProperty("afxIcon", QVariant::fromValue(static_cast<const void*>(hIcon)));
    label->setPixmap(hIcon ? hIcon->pixmap(label->size()) : QPixmap());
    return previous;
}

HICON CStatic::GetIcon() const
{
    return m_hWnd ? static_cast<HICON>(m_hWnd->property("afxIcon").value<const void*>()) : nullptr;
}
