// The pick-only lists over the tone, power and bandwidth columns.
#include "EditorHarness.h"

namespace zk::test {
namespace {

using ListEditingTest = EditorTest;

TEST_F(ListEditingTest, NoListOnARowWithoutFrequency)
{
    for (int c = 3; c <= 6; ++c) {
        clickCell(c, 2);
        for (const char* name : {"t1", "t2", "t3", "t4", "t5", "t6"})
            EXPECT_FALSE(child<QWidget>(name)->isVisible()) << name << " for column " << c;
        EXPECT_EQ(child<QLineEdit>("Col")->text(), QString::number(c));
    }
}

TEST_F(ListEditingTest, ListShowsItsFirstItemWhateverTheCellHoldsAndDoesNotTakeTheFocus)
{
    loadRow(1, "", "145.00000", "D754I", "88.5HZ", "High", "Wide");
    const char* names[] = {"t3", "t4", "t5", "t6"};
    const char* firstItems[] = {"OFF", "OFF", "Low", "Narrow"};
    for (int c = 3; c <= 6; ++c) {
        clickCell(c, 1);
        QComboBox* combo = list(names[c - 3]);
        ASSERT_TRUE(combo->isVisible()) << names[c - 3];
        EXPECT_EQ(combo->currentText().toStdString(), firstItems[c - 3]);
        EXPECT_NE(QApplication::focusWidget(), combo);
        const QRect rect = cellRect(c, 1);
        const QPoint gridTopLeft = grid()->mapTo(window.get(), QPoint(0, 0));
        EXPECT_EQ(combo->pos(), gridTopLeft + rect.topLeft());
        EXPECT_EQ(combo->width(), rect.width() + 2);
        EXPECT_EQ(combo->height(), combo->sizeHint().height());
    }
    EXPECT_EQ(cell(3, 1), "D754I") << "showing a list writes nothing";
}

TEST_F(ListEditingTest, PickingWritesTheItemIntoTheCurrentCell)
{
    enterFrequency(1, 4, "145");
    clickCell(3, 4);
    pickFromList(list("t3"), 40);
    EXPECT_EQ(cell(3, 4), "D023N");
    EXPECT_EQ(shown(3, 4), "D023N");
    EXPECT_FALSE(list("t3")->isVisible());
    EXPECT_EQ(cell(4, 4), "0FF");

    clickCell(5, 4);
    pickFromList(list("t5"), 0);
    EXPECT_EQ(cell(5, 4), "Low");
    clickCell(6, 4);
    pickFromList(list("t6"), 0);
    EXPECT_EQ(cell(6, 4), "Narrow");
}

TEST_F(ListEditingTest, PickingTheShownItemCountsAsAPick)
{
    enterFrequency(1, 2, "145");
    ASSERT_EQ(cell(4, 2), "0FF");
    clickCell(4, 2);
    pickFromList(list("t4"), 0);
    EXPECT_EQ(cell(4, 2), "OFF") << "letter O from the list replaces the digit zero";
}

TEST_F(ListEditingTest, AListNeverPickedFromWritesNothing)
{
    loadRow(3, "145.00000", "");
    clickCell(5, 3);
    EXPECT_TRUE(list("t5")->isVisible());
    clickCell(6, 3);
    EXPECT_FALSE(list("t5")->isVisible());
    EXPECT_TRUE(list("t6")->isVisible());
    clickCell(1, 3);
    EXPECT_FALSE(list("t6")->isVisible());
    EXPECT_EQ(cell(5, 3), "High");
    EXPECT_EQ(cell(6, 3), "Wide");
}

} // namespace
} // namespace zk::test
