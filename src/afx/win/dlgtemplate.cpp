#include "afx/win/dlgtemplate.h"

#include "afx/core/resources.h"
#include "afx/win/accessiblenames.h"
#include "afx/win/commctrl.h"
#include "afx/win/controls.h"
#include "afx/win/gdi.h"
#include "afx/win/hook.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QHash>
#include <QLabel>
#include <QWidget>
#include <deque>
#include <vector>

namespace afx::detail {
void RegisterCoreControls();   // controls.cpp: Static, Button, Edit, ComboBox
}

namespace afx {

namespace {

// MulDiv: a * b / c rounded to the nearest integer, halves away from zero.
int MulDiv(int a, int b, int c)
{
    const long long product = static_cast<long long>(a) * b;
    return int(product >= 0 ? (product + c / 2) / c : (product - c / 2) / c);
}

const QColor kGrayText(128, 128, 128);

// A deque: registering a class never moves the others, which hooks point to.
std::deque<WindowClass>& Registry()
{
    static std::deque<WindowClass> registry;
    static bool initialised = false;
    if (!initialised) {
        initialised = true;
        detail::RegisterCoreControls();
        detail::RegisterCommonControls();
    }
    return registry;
}

const ResourceScript*& FrontResources()
{
    static const ResourceScript* script = nullptr;
    return script;
}

// Windows and the dialog manager's part of a control: id, place, state, focus, font.
void ApplyItem(QWidget* control, const ControlSpec& spec, const WindowClass* windowClass)
{
    detail::WindowHook* hook = detail::WindowHook::Ensure(control);
    hook->windowClass = windowClass;
    hook->style = spec.style;
    detail::SetCtrlId(control, spec.id);
    if (!spec.rect.IsRectEmpty())
        control->setGeometry(QRect(spec.rect));
    control->setEnabled(!(spec.style & WS_DISABLED));
    if (!(spec.style & WS_TABSTOP))
        control->setFocusPolicy(Qt::FocusPolicy(control->focusPolicy() & ~Qt::TabFocus));
    control->setVisible(spec.style & WS_VISIBLE);
}

} // namespace

void RegisterWindowClass(const WindowClass& windowClass)
{
    std::deque<WindowClass>& registry = Registry();
    for (WindowClass& existing : registry) {
        if (existing.name.compare(windowClass.name, Qt::CaseInsensitive) == 0) {
            existing = windowClass;
            return;
        }
    }
    registry.push_back(windowClass);
}

const WindowClass* FindWindowClass(const QString& name)
{
    for (const WindowClass& windowClass : Registry()) {
        if (windowClass.name.compare(name, Qt::CaseInsensitive) == 0)
            return &windowClass;
    }
    return nullptr;
}

const WindowClass* WindowClassOf(HWND hWnd)
{
    detail::WindowHook* hook = hWnd ? detail::WindowHook::Of(hWnd) : nullptr;
    return hook ? hook->windowClass : nullptr;
}

QWidget* CreateControl(const ControlSpec& spec, QWidget* parent)
{
    const WindowClass* windowClass = FindWindowClass(spec.className);
    if (!windowClass || !windowClass->create)
        return nullptr;
    QWidget* control = windowClass->create(spec, parent);
    ApplyItem(control, spec, windowClass);
    // The class's own WM_CREATE, once the control has its id, style and place, as on Windows
    // (an up-down control finds and aligns to its buddy then).
    if (windowClass->defWindowProc) {
        bool handled = false;
        windowClass->defWindowProc(control, WM_CREATE, 0, 0, &handled);
    }
    return control;
}

void NotifyParent(QWidget* control, UINT code)
{
    QWidget* parent = control->parentWidget();
    if (!parent)
        return;
    const int id = detail::CtrlIdOf(control).value_or(0);
    CWnd::FromHandle(parent)->SendMessage(WM_COMMAND, MAKEWPARAM(unsigned(id), code),
                                          reinterpret_cast<LPARAM>(control));
}

LRESULT NotifyParent(QWidget* control, NMHDR& header)
{
    QWidget* parent = control->parentWidget();
    if (!parent)
        return 0;
    header.hwndFrom = control;
    header.idFrom = UINT_PTR(detail::CtrlIdOf(control).value_or(0));
    return CWnd::FromHandle(parent)->SendMessage(WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

CSize DialogBaseUnits(const QFont& font)
{
    // Every dialog and page asks, and measuring means shaping the alphabet: once per font.
    static QHash<QFont, CSize> measured;
    if (const auto found = measured.constFind(font); found != measured.cend())
        return *found;
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    const CSize units((width / 26 + 1) / 2, metrics.height());
    measured.insert(font, units);
    return units;
}

QFont TemplateFont(const DialogTemplate& tmpl)
{
    return CFont::FromFace(tmpl.fontFace, MulDiv(tmpl.fontSize, 96, 72), tmpl.fontWeight, tmpl.fontItalic);
}

int DialogUnitsToPixelsX(int x, CSize baseUnits)
{
    return MulDiv(x, int(baseUnits.cx), 4);
}

int DialogUnitsToPixelsY(int y, CSize baseUnits)
{
    return MulDiv(y, int(baseUnits.cy), 8);
}

CRect ItemRectInPixels(int x, int y, int cx, int cy, CSize baseUnits)
{
    const int left = DialogUnitsToPixelsX(x, baseUnits);
    const int top = DialogUnitsToPixelsY(y, baseUnits);
    return {left, top, left + DialogUnitsToPixelsX(cx, baseUnits), top + DialogUnitsToPixelsY(cy, baseUnits)};
}

const DialogTemplate* FindDialogTemplate(UINT id)
{
    if (const ResourceScript* front = FrontResources()) {
        if (const DialogTemplate* found = front->Dialog(int(id)))
            return found;
    }
    return ResourceScript::Instance().Dialog(int(id));
}

const ResourceScript* SetDialogResources(const ResourceScript* script)
{
    return std::exchange(FrontResources(), script);
}

void BuildDialog(QWidget* dialog, const DialogTemplate& tmpl)
{
    detail::WindowHook* hook = detail::WindowHook::Ensure(dialog);
    hook->ownFont = std::make_unique<CFont>();
    LOGFONT logFont;
    const QFont font = TemplateFont(tmpl);
    logFont.lfHeight = -font.pixelSize();
    logFont.lfWeight = tmpl.fontWeight;
    logFont.lfItalic = tmpl.fontItalic;
    logFont.lfFaceName = tmpl.fontFace;
    hook->ownFont->CreateFontIndirect(&logFont);
    hook->font = hook->ownFont.get();
    dialog->setFont(hook->font->GetQFont());
    // Windows' grey text for disabled controls: the toolkit's own is the colour of a grey
    // panel and would vanish on one.
    QPalette palette = dialog->palette();
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, kGrayText);
    dialog->setPalette(palette);
    dialog->setProperty(detail::kTemplateId, tmpl.id);
    dialog->setWindowTitle(tmpl.caption);

    const CSize base = DialogBaseUnits(dialog->font());
    detail::SetWindowSize(dialog, QSize(DialogUnitsToPixelsX(tmpl.cx, base), DialogUnitsToPixelsY(tmpl.cy, base)));

    std::vector<QWidget*> controls;
    for (const DialogItem& item : tmpl.items) {
        const ControlSpec spec{item.className, item.text, item.style, item.exStyle, item.id,
                               ItemRectInPixels(item.x, item.y, item.cx, item.cy, base)};
        QWidget* control = CreateControl(spec, dialog);
        if (!control) {
            // Keep the control order and the id even for a class nobody registered.
            qWarning("afx: dialog %d: no window class \"%s\"", tmpl.id, qPrintable(item.className));
            control = new QWidget(dialog);
            ApplyItem(control, spec, nullptr);
        }
        detail::WindowHook::Of(control)->font = hook->font;
        controls.push_back(control);
    }

    // A text's mnemonic moves the focus to the control after it, as in Windows dialogs.
    for (size_t i = 0; i + 1 < controls.size(); ++i) {
        auto* label = qobject_cast<QLabel*>(controls[i]);
        if (label && !(tmpl.items[i].style & SS_NOPREFIX) && label->text().contains(u'&'))
            label->setBuddy(controls[i + 1]);
    }

    NameTemplateControls(dialog, tmpl, controls);

    for (const auto& [id, text] : tmpl.initData) {
        CWnd* control = CWnd::FromHandle(dialog)->GetDlgItem(id);
        if (control && WindowClassOf(control->m_hWnd) == FindWindowClass(QStringLiteral("ComboBox")))
            static_cast<CComboBox*>(CWnd::FromHandle(control->m_hWnd))->AddString(text);
        else
            qWarning("afx: dialog %d: DLGINIT item for %d, which is no combo box", tmpl.id, id);
    }
}

} // namespace afx
