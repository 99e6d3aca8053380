#include "components/ui/QrPropertyGrid.h"

#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

TEST(PropertyGrid, ValuesByKind)
{
    CQrPropertyGrid grid;
    QTreeWidgetItem* cat = grid.AddCategory(QStringLiteral("분석 설정"));
    QTreeWidgetItem* text = grid.AddTextItem(cat, QStringLiteral("분석 구분자"), QStringLiteral("_"), 1000);
    QTreeWidgetItem* multi = grid.AddMultilineItem(cat, QStringLiteral("정의"), QStringLiteral("a\nb"), 1001);
    QTreeWidgetItem* check = grid.AddCheckItem(cat, QStringLiteral("정렬"), true, 1002);
    QTreeWidgetItem* list = grid.AddListItem(cat, QStringLiteral("DB"),
                                             {{QStringLiteral("Oracle"), 1}, {QStringLiteral("SQLite"), 13}}, 13, 1003);

    EXPECT_EQ(grid.FindItem(1000), text);
    EXPECT_EQ(grid.FindItem(4242), nullptr);
    EXPECT_EQ(CQrPropertyGrid::ItemKind(cat), CQrPropertyGrid::KindCategory);

    EXPECT_EQ(grid.GetValue(text), QStringLiteral("_"));
    grid.SetValue(text, QString());
    EXPECT_EQ(grid.GetValue(text), QString());

    EXPECT_EQ(grid.GetValue(multi), QStringLiteral("a\nb")); // the shown text is one line, the value is not
    EXPECT_FALSE(multi->text(1).contains(u'\n'));

    EXPECT_TRUE(grid.IsChecked(check));
    grid.SetChecked(check, false);
    EXPECT_FALSE(grid.IsChecked(check));
    EXPECT_FALSE(grid.IsChecked(text)); // only check items are checked

    EXPECT_EQ(grid.GetListValue(list), 13);
    EXPECT_EQ(grid.GetValue(list), QStringLiteral("SQLite"));
    grid.SetListValue(list, 1);
    EXPECT_EQ(grid.GetValue(list), QStringLiteral("Oracle"));
    grid.SetListValue(list, 77); // not a choice: kept, shown as the number
    EXPECT_EQ(grid.GetListValue(list), 77);
    EXPECT_EQ(grid.GetListValue(text), -1);
}

TEST(PropertyGrid, InplaceButtonsFindTheirItemAfterSiblingsGo)
{
    CQrPropertyGrid grid;
    QTreeWidgetItem* cat = grid.AddCategory(QStringLiteral("형태소 분석"));
    QTreeWidgetItem* words = grid.AddLabelItem(cat, QStringLiteral("사용자 단어"), QString(), 1014);
    QList<QTreeWidgetItem*> children;
    for (int i = 0; i < 3; ++i) {
        children << grid.AddTextItem(words, QStringLiteral("단어 %1").arg(i + 1), QStringLiteral("w%1").arg(i));
        grid.AddInplaceButton(children.last(), 2001, QStringLiteral(" X "));
    }
    grid.expandAll();
    grid.resize(400, 300);
    grid.show();
    QSignalSpy clicked(&grid, &CQrPropertyGrid::InplaceButtonClicked);

    grid.RemoveItem(children[0]);
    auto* button = grid.itemWidget(children[2], 2)->findChild<QToolButton*>();
    ASSERT_NE(button, nullptr);
    button->click();
    ASSERT_EQ(clicked.count(), 1);
    EXPECT_EQ(clicked[0][0].value<QTreeWidgetItem*>(), children[2]);
    EXPECT_EQ(clicked[0][1].toInt(), 2001);
    EXPECT_EQ(words->childCount(), 2);
}
