// Every text of the console's dialogs and pages fits the control the template gives it, in the
// dialog font as this system draws it.
#include "afx/afxwin.h"
#include "afx/core/resources.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFontMetricsF>
#include <QLabel>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleOptionButton>
#include <gtest/gtest.h>
#include <memory>

namespace {

// What does not fit, "" when the text fits.
QString Overflow(QWidget* control)
{
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
        return {};
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
    QString plain = button->text();
    plain.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    const int needed = button->fontMetrics().horizontalAdvance(plain);
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
        for (QWidget* control : dialog->m_hWnd->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            const QString overflow = Overflow(control);
            EXPECT_TRUE(overflow.isEmpty()) << "dialog " << id << ", control " << control->property("ctrlId").toInt()
                                            << ": " << overflow.toStdString();
        }
    }
}

} // namespace
