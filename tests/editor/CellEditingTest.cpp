// In-place editing of the two frequency columns, typed and left the way a
// user does: Enter, a click on another cell, Tab, the arrow keys.
#include "EditorHarness.h"

namespace zk::test {
namespace {

using CellEditingTest = EditorTest;


TEST_F(CellEditingTest, FirstFrequencyOfAnEmptyRowBringsTheChannelDefaults)
{
    QLineEdit* t1 = openBox(1, 1);
    EXPECT_EQ(child<QLineEdit>("Col")->text(), "1");
    EXPECT_EQ(child<QLineEdit>("Row")->text(), "1");
    type("145");
    EXPECT_EQ(t1->text(), "145");
    press(Qt::Key_Return);

    EXPECT_EQ(cell(1, 1), "145.00000");
    EXPECT_EQ(cell(2, 1), "");
    EXPECT_EQ(cell(3, 1), "0FF");
    EXPECT_EQ(cell(4, 1), "0FF");
    EXPECT_EQ(cell(5, 1), "High");
    EXPECT_EQ(cell(6, 1), "Wide");
    for (int c = 1; c <= 6; ++c)
        EXPECT_EQ(shown(c, 1), cell(c, 1)) << "the grid follows the table";
    EXPECT_FALSE(t1->isVisible());
    EXPECT_EQ(t1->text(), "");
    EXPECT_EQ(QApplication::focusWidget(), grid()) << "Enter leaves the keyboard with the grid";
    EXPECT_TRUE(messages.entries.empty());
}

TEST_F(CellEditingTest, BoxSitsOverItsCell)
{
    QLineEdit* t2 = openBox(2, 6);
    EXPECT_EQ(t2->parentWidget(), window.get());
    // What the window shows on top at a point of a cell, as a user sees it.
    auto onTop = [&](int column, int row, QPoint (QRect::*point)() const) {
        const QRect rect = cellRect(column, row);
        return window->childAt(grid()->viewport()->mapTo(window.get(), (rect.*point)()));
    };
    auto isBox = [&](QWidget* widget) { return widget == t2 || t2->isAncestorOf(widget); };
    for (auto point : {&QRect::topLeft, &QRect::topRight, &QRect::bottomLeft, &QRect::bottomRight, &QRect::center})
        EXPECT_TRUE(isBox(onTop(2, 6, point))) << "the box covers its cell";
    const int neighbours[][2] = {{1, 6}, {3, 6}, {2, 5}, {2, 7}};
    for (const auto& n : neighbours)
        EXPECT_EQ(onTop(n[0], n[1], &QRect::center), grid()->viewport()) << n[0] << "," << n[1] << " stays in view";
}

TEST_F(CellEditingTest, SecondFrequencySkipsTheStepRule)
{
    enterFrequency(1, 2, "145");
    enterFrequency(2, 2, "145.0025");
    EXPECT_EQ(cell(2, 2), "145.00250");
    EXPECT_EQ(cell(1, 2), "145.00000");
    EXPECT_TRUE(messages.notices().empty());
}

TEST_F(CellEditingTest, FirstFrequencyOffTheRasterIsRefused)
{
    enterFrequency(1, 3, "145.0025");
    EXPECT_EQ(messages.notices(), std::vector<std::string>{"RX Frequency in 136MHZ~174MHZ"});
    for (int c = 1; c <= 6; ++c)
        EXPECT_EQ(cell(c, 3), "") << c;
    EXPECT_FALSE(box(1)->isVisible());
    EXPECT_EQ(box(1)->text(), "");

    enterFrequency(2, 4, "146.0125"); // 625 x 23362
    EXPECT_EQ(cell(2, 4), "146.01250");
    EXPECT_EQ(cell(5, 4), "High");
    EXPECT_EQ(messages.notices().size(), 1u);
}

TEST_F(CellEditingTest, BandLimitsAreInclusive)
{
    enterFrequency(1, 1, "135.99999");
    enterFrequency(2, 2, "174.00001");
    EXPECT_EQ(messages.notices(),
              (std::vector<std::string>{"RX Frequency in 136MHZ~174MHZ", "TX Frequency in 136MHZ~174MHZ"}));
    EXPECT_EQ(cell(1, 1), "");
    EXPECT_EQ(cell(2, 2), "");

    enterFrequency(1, 1, "136");
    enterFrequency(2, 2, "174");
    EXPECT_EQ(cell(1, 1), "136.00000");
    EXPECT_EQ(cell(2, 2), "174.00000");
    EXPECT_EQ(messages.notices().size(), 2u);
}

TEST_F(CellEditingTest, SameTextAgainChangesNothingButANewFirstFrequencyResetsTheRow)
{
    loadRow(5, "145.00000", "", "D023N", "88.5HZ", "Low", "Narrow");
    enterFrequency(1, 5, "145");
    EXPECT_EQ(cell(1, 5), "145.00000");
    EXPECT_EQ(cell(3, 5), "D023N");
    EXPECT_EQ(cell(6, 5), "Narrow");

    enterFrequency(1, 5, "150");
    EXPECT_EQ(cell(1, 5), "150.00000");
    EXPECT_EQ(cell(3, 5), "0FF");
    EXPECT_EQ(cell(4, 5), "0FF");
    EXPECT_EQ(cell(5, 5), "High");
    EXPECT_EQ(cell(6, 5), "Wide");
}

TEST_F(CellEditingTest, EmptyingAFrequency)
{
    loadRow(1, "145.00000", "146.00000", "D023N");
    loadRow(2, "145.00000", "", "D023N");

    // RX emptied while TX is set: only the RX cell goes.
    enterFrequency(1, 1, "");
    EXPECT_EQ(cell(1, 1), "");
    EXPECT_EQ(cell(2, 1), "146.00000");
    EXPECT_EQ(cell(3, 1), "D023N");

    // Without a TX frequency the whole row goes; leaving by Tab shows that
    // the empty entry neither clears nor hides the box.
    QLineEdit* t1 = openBox(1, 2);
    for (int i = 0; i < 9; ++i)
        press(Qt::Key_Backspace);
    EXPECT_EQ(t1->text(), "");
    press(Qt::Key_Tab);
    EXPECT_NE(QApplication::focusWidget(), t1);
    for (int c = 1; c <= 6; ++c)
        EXPECT_EQ(cell(c, 2), "") << c;
    EXPECT_TRUE(t1->isVisible());
    EXPECT_TRUE(messages.entries.empty());
}

TEST_F(CellEditingTest, RefusalWaitsForTheNoticeThenEmptiesAValidCell)
{
    loadRow(7, "145.00000", "", "D023N");
    std::vector<std::string> rxWhileNoticeShown;
    messages.onMessage = [&](const RecordingMessages::Entry&) { rxWhileNoticeShown.push_back(cell(1, 7)); };
    enterFrequency(1, 7, "180");
    EXPECT_EQ(rxWhileNoticeShown, std::vector<std::string>{"145.00000"}) << "the cell changes after the notice";
    for (int c = 1; c <= 6; ++c)
        EXPECT_EQ(cell(c, 7), "") << c;
}

TEST_F(CellEditingTest, OutOfBandLoadedCellIsKeptWhenLeftUnchangedAndRefusedWhenRetyped)
{
    clickMenuItem("MenuEdit", "N16"); // 400-490
    loadRow(1, "145.00000", "145.00000", "D023N");
    QLineEdit* t1 = openBox(1, 1);
    EXPECT_EQ(t1->text(), "145.00000");
    press(Qt::Key_Return);
    EXPECT_TRUE(messages.notices().empty());
    EXPECT_FALSE(t1->isVisible());
    EXPECT_EQ(cell(1, 1), "145.00000") << "a box left as it came up changes nothing";

    enterFrequency(1, 1, "145");
    EXPECT_EQ(messages.notices(), std::vector<std::string>{"RX Frequency in 400MHZ~490MHZ"});
    EXPECT_EQ(cell(1, 1), "");
    EXPECT_EQ(cell(2, 1), "145.00000");
    EXPECT_EQ(cell(3, 1), "D023N") << "the TX frequency keeps the row";
}

TEST_F(CellEditingTest, KeyFilter)
{
    QLineEdit* t1 = openBox(1, 1);
    type("1a4-5, .X5");
    EXPECT_EQ(t1->text(), "145.5");
    type("123456");
    EXPECT_EQ(t1->text(), "145.51234") << "a tenth character is dropped";
    press(Qt::Key_Backspace);
    EXPECT_EQ(t1->text(), "145.5123");
    type("9.");
    EXPECT_EQ(t1->text(), "145.51239");
    // Cursor keys are no characters: they move the cursor as usual.
    press(Qt::Key_Home);
    press(Qt::Key_Delete);
    EXPECT_EQ(t1->text(), "45.51239");
    press(Qt::Key_Right);
    type("6");
    EXPECT_EQ(t1->text(), "465.51239");
    press(Qt::Key_End);
    press(Qt::Key_Backspace);
    press(Qt::Key_Backspace);
    press(Qt::Key_Backspace);
    press(Qt::Key_Backspace);
    press(Qt::Key_Backspace);
    press(Qt::Key_Backspace);
    press(Qt::Key_Backspace);
    press(Qt::Key_Backspace);
    press(Qt::Key_Backspace);
    EXPECT_EQ(t1->text(), "");
    type("16.2.0");
    EXPECT_EQ(t1->text(), "16.2.0") << "nothing limits the number of points";
    while (!t1->text().isEmpty())
        press(Qt::Key_Backspace);
    type("150.00000");
    press(Qt::Key_Enter); // the keypad's Enter ends the edit too, even at nine characters
    EXPECT_EQ(cell(1, 1), "150.00000");
    EXPECT_FALSE(t1->isVisible());
}

TEST_F(CellEditingTest, LonePointShowsTheErrorBoxAndKeepsTheCell)
{
    loadRow(4, "145.00000", "");
    QLineEdit* t1 = openBox(1, 4);
    while (!t1->text().isEmpty())
        press(Qt::Key_Backspace);
    type(".");
    press(Qt::Key_Tab);
    EXPECT_EQ(messages.errors(), std::vector<std::string>{"'' is not a valid floating point value."});
    EXPECT_EQ(cell(1, 4), "145.00000");
    EXPECT_EQ(cell(5, 4), "High");
    EXPECT_TRUE(t1->isVisible()) << "the box stays for a correction";
    EXPECT_EQ(t1->text(), ".");

    // Two points, ended with Enter: the box is hidden but keeps the text.
    t1 = openBox(1, 4);
    while (!t1->text().isEmpty())
        press(Qt::Key_Backspace);
    type("14.5.5");
    press(Qt::Key_Return);
    EXPECT_EQ(messages.errors().back(), "'14.5.5000' is not a valid floating point value.");
    EXPECT_FALSE(t1->isVisible());
    EXPECT_EQ(t1->text(), "14.5.5");
    EXPECT_EQ(cell(1, 4), "145.00000");

    // The next selection hides it without writing anything.
    clickCell(2, 4);
    EXPECT_EQ(cell(1, 4), "145.00000");
    EXPECT_TRUE(box(2)->isVisible());
}

TEST_F(CellEditingTest, ClickingAnotherCellCommitsToTheOldCellFirst)
{
    openBox(1, 3);
    type("150");
    clickCell(2, 7);
    EXPECT_EQ(cell(1, 3), "150.00000");
    EXPECT_EQ(cell(6, 3), "Wide");
    for (int c = 1; c <= 6; ++c)
        EXPECT_EQ(cell(c, 7), "") << c;
    EXPECT_FALSE(box(1)->isVisible());
    EXPECT_TRUE(box(2)->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), box(2));
    EXPECT_EQ(child<QLineEdit>("Col")->text(), "2");
    EXPECT_EQ(child<QLineEdit>("Row")->text(), "7");
}

TEST_F(CellEditingTest, RefusalOnAClickIsShownBeforeTheSelectionMoves)
{
    openBox(1, 3);
    type("200");
    QString rowWhenShown;
    QModelIndex gridCurrentWhenShown;
    messages.onMessage = [&](const RecordingMessages::Entry&) {
        rowWhenShown = child<QLineEdit>("Row")->text();
        gridCurrentWhenShown = grid()->currentIndex();
    };
    clickCell(1, 9);
    EXPECT_EQ(messages.notices(), std::vector<std::string>{"RX Frequency in 136MHZ~174MHZ"});
    EXPECT_EQ(rowWhenShown, "3");
    EXPECT_EQ(gridCurrentWhenShown.row(), 3);
    EXPECT_EQ(gridCurrentWhenShown.column(), 1);
    EXPECT_EQ(grid()->currentRow(), 9);
    EXPECT_EQ(child<QLineEdit>("Row")->text(), "9");
    EXPECT_EQ(QApplication::focusWidget(), box(1));
    EXPECT_EQ(box(1)->text(), "");
}

TEST_F(CellEditingTest, KeyboardMovesThroughTheGridAndOpensTheBoxes)
{
    enterFrequency(1, 1, "145"); // Enter leaves the grid with the keyboard
    press(Qt::Key_Down);
    EXPECT_EQ(child<QLineEdit>("Row")->text(), "2");
    EXPECT_TRUE(box(1)->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), box(1));
    type("146");
    press(Qt::Key_Return);
    EXPECT_EQ(cell(1, 2), "146.00000");
    press(Qt::Key_Right);
    EXPECT_EQ(child<QLineEdit>("Col")->text(), "2");
    EXPECT_EQ(QApplication::focusWidget(), box(2));
    type("147");
    press(Qt::Key_Return);
    EXPECT_EQ(cell(2, 2), "147.00000");
    EXPECT_EQ(cell(1, 2), "146.00000");
}

TEST_F(CellEditingTest, FixedCellsCannotBeSelected)
{
    openBox(1, 2);
    type("145");
    clickCell(0, 5);
    EXPECT_EQ(cell(1, 2), "145.00000") << "the box still lost the focus";
    EXPECT_EQ(child<QLineEdit>("Row")->text(), "2");
    clickCell(4, 0);
    EXPECT_EQ(child<QLineEdit>("Col")->text(), "1");
    for (const char* name : {"t1", "t2", "t3", "t4", "t5", "t6"})
        EXPECT_FALSE(child<QWidget>(name)->isVisible()) << name;
    EXPECT_EQ(cell(0, 5), "5");
    EXPECT_EQ(cell(4, 0), "QT/DQT Enc");
}

TEST_F(CellEditingTest, LeadingZeroEntriesAreRefused)
{
    loadRow(1, "145.00000", "");
    enterFrequency(2, 1, "0145.0000");
    EXPECT_EQ(messages.notices(), std::vector<std::string>{"TX Frequency in 136MHZ~174MHZ"});
    EXPECT_EQ(cell(2, 1), "");
    EXPECT_EQ(cell(1, 1), "145.00000");
}

} // namespace
} // namespace zk::test
