#include "afx/win/accessiblenames.h"

#include "afx/core/resources.h"
#include "afx/core/styles.h"

#include <QPointer>
#include <QWidget>

namespace afx {

namespace {

enum class Part { Label, Decoration, Button, Control };

bool IsStatic(const DialogItem& item)
{
    return item.className.compare(u"Static", Qt::CaseInsensitive) == 0;
}

Part PartOf(const DialogItem& item)
{
    if (IsStatic(item)) {
        const DWORD type = item.style & SS_TYPEMASK;
        const bool text = type <= SS_RIGHT || type == SS_SIMPLE || type == SS_LEFTNOWORDWRAP;
        return text ? Part::Label : Part::Decoration;
    }
    if (item.className.compare(u"Button", Qt::CaseInsensitive) == 0 && (item.style & BS_TYPEMASK) == BS_GROUPBOX)
        return item.text.isEmpty() ? Part::Decoration : Part::Label;
    return item.text.isEmpty() ? Part::Control : Part::Button;
}

} // namespace

void NameTemplateControls(QWidget* dialog, const DialogTemplate& tmpl, const std::vector<QWidget*>& controls)
{
    // A window's name is its title, which the toolkit reads out as it changes; a page shown
    // inside another window has no title, and is named by its caption.
    const bool page = tmpl.style & WS_CHILD;
    if (page)
        dialog->setAccessibleName(WithoutMnemonics(tmpl.caption));

    QString label;
    bool labelSeen = false;
    std::vector<QPointer<QWidget>> beforeAnyLabel;
    for (size_t i = 0; i < tmpl.items.size() && i < controls.size(); ++i) {
        const DialogItem& item = tmpl.items[i];
        switch (PartOf(item)) {
        case Part::Label:
            label = IsStatic(item) && (item.style & SS_NOPREFIX) ? item.text : WithoutMnemonics(item.text);
            labelSeen = true;
            break;
        case Part::Control:
            if (labelSeen)
                controls[i]->setAccessibleName(label);
            else
                beforeAnyLabel.emplace_back(controls[i]);
            break;
        case Part::Decoration:
        case Part::Button:
            break;
        }
    }
    if (beforeAnyLabel.empty())
        return;
    // What comes before any label is what the dialog is about, a page's list say: it is named
    // as the dialog is, a window's title as it changes.
    const auto nameAll = [beforeAnyLabel](const QString& name) {
        for (const QPointer<QWidget>& control : beforeAnyLabel) {
            if (control)
                control->setAccessibleName(name);
        }
    };
    nameAll(page ? dialog->accessibleName() : dialog->windowTitle());
    if (!page)
        QObject::connect(dialog, &QWidget::windowTitleChanged, dialog, nameAll);
}

} // namespace afx
