// Every text of the console's dialogs and pages fits the control the template gives it, in the
// dialog font as this system draws it: labels, buttons, group boxes' titles and the items of
// each choice list; no wrapped label leaves a line of punctuation alone.
#include "afx/afxwin.h"
#include "afx/core/resources.h"
#include "dialogs/dialoghelpers.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStyleOptionGroupBox>
#include <QTextLayout>
#include <gtest/gtest.h>
#include <algorithm>
#include <memory>

namespace {

// A control's text as drawn: "&" marks the mnemonic, "&&" is an ampersand.
QString Drawn(const QString& text)
{
    QString plain = text;
    return plain.remove(QRegularExpression(QStringLiteral("&(?!&)")));
}

// A wrapped label's line that holds no letter nor digit ("Supprimés" then ":" alone).
QString Orphan(QLabel* label)
{
    if (!label->wordWrap())
        return {};
    QTextLayout layout(Drawn(label->text()), label->font());
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QString orphan;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(label->contentsRect().width());
        const QString words = layout.text().mid(line.textStart(), line.textLength());
        if (line.lineNumber() > 0 && std::none_of(words.begin(), words.end(), [](QChar c) { return c.isLetterOrNumber(); }))
            orphan = QStringLiteral("\"%1\" leaves \"%2\" alone on a line").arg(label->text(), words.trimmed());
    }
    layout.endLayout();
    return orphan;
}

// The first item of a choice list that its closed box cuts.
QString CutItem(QComboBox* combo)
{
    QStyleOptionComboBox option;
    option.initFrom(combo);
    option.editable = combo->isEditable();
    const int room = combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo).width();
    for (int item = 0; item < combo->count(); ++item) {
        const int needed = combo->fontMetrics().horizontalAdvance(combo->itemText(item));
        if (needed > room)
            return QStringLiteral("item \"%1\" needs %2, has %3").arg(combo->itemText(item)).arg(needed).arg(room);
    }
    return {};
}

// What does not fit, "" when the text fits.
QString Overflow(QWidget* control)
{
    if (auto* combo = qobject_cast<QComboBox*>(control))
        return CutItem(combo);
    if (auto* group = qobject_cast<QGroupBox*>(control)) {
        QStyleOptionGroupBox option;
        option.initFrom(group);
        option.text = group->title();
        option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
        const QRect label = group->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, group);
        const int needed = group->fontMetrics().horizontalAdvance(Drawn(group->title()));
        if (!group->title().isEmpty() && (needed > label.width() || label.right() >= group->width()))
            return QStringLiteral("title \"%1\" needs %2, has %3").arg(group->title()).arg(needed).arg(label.width());
        return {};
    }
    if (auto* label = qobject_cast<QLabel*>(control)) {
        if (label->text().isEmpty() || !label->pixmap().isNull())
            return {};
        const QRect room = label->contentsRect();
        const QFontMetrics metrics = label->fontMetrics();
        const int flags = int(label->alignment()) | Qt::TextShowMnemonic | (label->wordWrap() ? Qt::TextWordWrap : 0);
        const QRect wrapped = metrics.boundingRect(room, flags, label->text());
        // Lines as Windows stacks them: a font height each.
        const int lines = qRound(wrapped.height() / QFontMetricsF(label->font()).lineSpacing());
        const QSize needed(wrapped.width(), lines * metrics.height());
        if (needed.width() > room.width() || needed.height() > room.height())
            return QStringLiteral("\"%1\" needs %2 x %3, has %4 x %5")
                .arg(label->text()).arg(needed.width()).arg(needed.height()).arg(room.width()).arg(room.height());
        return Orphan(label);
    }
    auto* button = qobject_cast<QAbstractButton*>(control);
    if (!button || button->text().isEmpty())
        return {};
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    const QStyle::SubElement contents = qobject_cast<QCheckBox*>(button)      ? QStyle::SE_CheckBoxContents
                                        : qobject_cast<QRadioButton*>(button) ? QStyle::SE_RadioButtonContents
                                                                              : QStyle::SE_PushButtonContents;
    const int room = button->style()->subElementRect(contents, &option, button).width();
    const int needed = button->fontMetrics().horizontalAdvance(Drawn(button->text()));
    if (needed > room)
        return QStringLiteral("\"%1\" needs %2, has %3").arg(button->text()).arg(needed).arg(room);
    return {};
}

TEST(DialogTexts, EveryTextFitsItsControl)
{
    const afx::ResourceScript& script = afx::ResourceScript::Instance();
    for (const int id : script.DialogIds()) {
        const afx::DialogTemplate* tmpl = script.Dialog(id);
        ASSERT_NE(tmpl, nullptr);
        auto dialog = std::make_unique<CDialog>(UINT(id));
        ASSERT_TRUE(dialog->CreateIndirect(*tmpl, nullptr, false)) << id;
        FillComboBoxes(dialog.get());   // as every page and dialog fills its lists
        for (QWidget* control : dialog->m_hWnd->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            const QString overflow = Overflow(control);
            EXPECT_TRUE(overflow.isEmpty()) << "dialog " << id << ", control " << control->property("ctrlId").toInt()
                                            << ": " << overflow.toStdString();
        }
    }
}

} // namespace
