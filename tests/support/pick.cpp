#include "support/pick.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QTest>
#include <gtest/gtest.h>

void PickComboItem(QWidget* widget, int index)
{
    auto* combo = qobject_cast<QComboBox*>(widget);
    ASSERT_NE(combo, nullptr) << "not a combo box";
    ASSERT_TRUE(index >= 0 && index < combo->count()) << "no item " << index;
    combo->showPopup();
    QAbstractItemView* list = combo->view();
    ASSERT_TRUE(list->isVisible()) << "the list did not open";
    // The keys work wherever the list stands, also where the screen's edge cuts it short.
    QTest::keyClick(list, Qt::Key_Home);
    for (int step = 0; step < index; ++step)
        QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Return);
    ASSERT_FALSE(list->isVisible()) << "item " << index << " was not chosen";
}
