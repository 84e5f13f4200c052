// Cells to and from a spreadsheet through the clipboard, as tab-separated text.
#include "ClipboardRules.h"
#include "EditorHarness.h"

#include <QClipboard>

namespace zk::test {
namespace {

class ClipboardTest : public EditorTest {
protected:
    // A click on a channel number selects the row; with Shift, the rows up to it.
    void clickChannelNumber(int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, modifiers, cellRect(0, row).center());
    }
    void keys(Qt::Key key) { QTest::keyClick(grid(), key, Qt::ControlModifier); }
    std::string clipboard() const { return QApplication::clipboard()->text().toStdString(); }
    void setClipboard(const char* text) { QApplication::clipboard()->setText(QString::fromLatin1(text)); }
};

// As a spreadsheet gives them: short frequencies, CR LF line ends.
const char* const kSheetRows = "145.5\t\t88.5HZ\tOFF\tLow\tNarrow\r\n"
                               "146.0125\t146.6125\tD023N\tD023I\tHigh\tWide\r\n";

TEST_F(ClipboardTest, RowsGoOutAndComeBackAsTabSeparatedText)
{
    setClipboard(kSheetRows);
    clickChannelNumber(3);
    EXPECT_FALSE(box(1)->isVisible()) << "a whole row, no editor";
    keys(Qt::Key_V);
    EXPECT_TRUE(messages.entries.empty());
    EXPECT_EQ(cell(1, 3) + "|" + cell(3, 3) + "|" + cell(6, 3), "145.50000|88.5HZ|Narrow");
    EXPECT_EQ(cell(2, 4) + "|" + cell(4, 4), "146.61250|D023I");

    clickChannelNumber(3);
    clickChannelNumber(4, Qt::ShiftModifier);
    keys(Qt::Key_C);
    EXPECT_EQ(clipboard(), "145.50000\t\t88.5HZ\tOFF\tLow\tNarrow\n"
                           "146.01250\t146.61250\tD023N\tD023I\tHigh\tWide\n");

    // One undo step takes the whole paste back.
    keys(Qt::Key_Z);
    EXPECT_EQ(cell(1, 3), "");
    EXPECT_EQ(cell(1, 4), "");
}

TEST_F(ClipboardTest, APasteIsRefusedWholeWithEveryBadCellNamed)
{
    loadRow(2, "150.00000", "");
    setClipboard("14x5\t\tOFF\n999\t\tD999N\tOFF\tHuge\n");
    clickChannelNumber(1);
    keys(Qt::Key_V);
    ASSERT_EQ(messages.notices().size(), 1u);
    EXPECT_EQ(messages.notices()[0], "Nothing was pasted. These cells were refused:\n"
                                     "Channel 1, RX Frequency \"14x5\": not a frequency\n"
                                     "Channel 1, QT/DQT Dec \"OFF\": the channel has no frequency\n"
                                     "Channel 2, RX Frequency \"999\": RX Frequency in 136MHZ~174MHZ\n"
                                     "Channel 2, QT/DQT Dec \"D999N\": not in the list\n"
                                     "Channel 2, TX Power \"Huge\": not in the list");
    EXPECT_EQ(cell(1, 2), "150.00000") << "nothing written";
    EXPECT_EQ(cell(1, 1), "");
}

TEST_F(ClipboardTest, CutDeleteAndPasteAtTheCurrentCell)
{
    loadRow(1, "145.00000", "145.60000", "D023N");
    clickChannelNumber(1);
    keys(Qt::Key_X);
    EXPECT_EQ(clipboard(), "145.00000\t145.60000\tD023N\t0FF\tHigh\tWide\n");
    EXPECT_EQ(cell(1, 1) + cell(3, 1), "");

    clickCell(5, 7); // the pick-only list does not take the keyboard
    keys(Qt::Key_V);
    EXPECT_EQ(messages.notices().size(), 1u) << "a row pasted from its power cell runs off the grid";
    clickChannelNumber(7);
    keys(Qt::Key_V);
    EXPECT_EQ(cell(2, 7), "145.60000");

    // Delete: a tone goes back to its default, a frequency goes with its row.
    clickCell(3, 7);
    QTest::keyClick(grid(), Qt::Key_Delete);
    EXPECT_EQ(cell(3, 7), "0FF");
    clickChannelNumber(7);
    list("c1")->setFocus(); // Delete in a settings list is not for the grid
    QTest::keyClick(list("c1"), Qt::Key_Delete);
    EXPECT_EQ(cell(2, 7), "145.60000");
    grid()->setFocus();
    QTest::keyClick(grid(), Qt::Key_Delete);
    for (int c = 1; c <= 6; ++c)
        EXPECT_EQ(cell(c, 7), "") << c;
}

TEST_F(ClipboardTest, APasteLargerThanTheGridIsRefusedAtOnceWithOneLine)
{
    loadRow(1, "145.00000", "");
    std::string huge;
    while (huge.size() < (std::size_t{1} << 20))
        huge += "146.00000\t146.00000\tLow\n";
    huge.resize(std::size_t{1} << 20);
    std::string rows;
    for (int r = 1; r <= 17; ++r)
        rows += "146\n";
    const std::pair<std::string, std::string> pastes[] = {
        {huge, "Nothing was pasted: the clipboard holds 1048576 bytes, more than the grid's 16 rows of 6 cells take."},
        {std::string(std::size_t{1} << 20, '1'),
         "Nothing was pasted: the clipboard holds 1048576 bytes, more than the grid's 16 rows of 6 cells take."},
        {rows, "Nothing was pasted: the clipboard holds 17 rows, more than the grid's 16."},
    };
    for (const auto& [text, refusal] : pastes) {
        QApplication::clipboard()->setText(QString::fromStdString(text));
        clickChannelNumber(1);
        keys(Qt::Key_V);
        EXPECT_EQ(messages.notices(), std::vector<std::string>{refusal});
        EXPECT_EQ(cell(1, 1), "145.00000");
        EXPECT_EQ(cell(1, 2), "");
        messages.clear();
    }
}

TEST(ClipboardRules, TheSizeLimitComesFirstAndARefusalNamesTwentyCells)
{
    const std::string longest(clip::kLongestPastedCell, '1');
    std::string full; // the grid's every cell at its longest still fits
    for (int r = 1; r <= 16; ++r)
        full += longest + "\t" + longest + "\t" + longest + "\t" + longest + "\t" + longest + "\t" + longest + "\r\n";
    EXPECT_EQ(clip::oversizeReason(full), "");
    EXPECT_EQ(clip::oversizeReason("145\t\t\t\t\t\t"),
              "Nothing was pasted: the clipboard holds a row of 7 cells, more than the grid's 6.");
    EXPECT_EQ(clip::oversizeReason(longest + "1"),
              "Nothing was pasted: the clipboard holds a cell of 65 characters, more than any cell takes (64).");

    std::vector<clip::Refusal> refused(32, {ColRx, 1, "1234567890123456789012345", "not a frequency"});
    const std::string message = clip::refusalMessage(refused);
    EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 21);
    EXPECT_EQ(message.substr(0, message.find('\n', 50)),
              "Nothing was pasted. These cells were refused:\n"
              "Channel 1, RX Frequency \"12345678901234567890...\": not a frequency");
    EXPECT_EQ(message.substr(message.rfind('\n')), "\n... and 12 more cells.");
}

TEST(ClipboardRules, APasteIsTypedCellByCellFromLeftToRight)
{
    ChannelTable table;
    // RX first: the step rule applies to it, not to the TX that follows.
    clip::PasteCheck check = clip::checkPaste(table, 1, 1, "145.0025\t145.0025");
    ASSERT_EQ(check.refused.size(), 2u) << "the TX then meets a row without frequency";
    EXPECT_EQ(check.refused[0].column, ColRx);
    EXPECT_TRUE(check.writes.empty());
    check = clip::checkPaste(table, 1, 1, "145\t145.0025");
    EXPECT_TRUE(check.refused.empty());
    EXPECT_EQ(check.writes.size(), 6u);
    EXPECT_EQ(check.writes[1], (clip::CellWrite{ColTx, 1, "145.00250"}));
    EXPECT_EQ(clip::splitText("a\tb\r\n\tc\n"), (std::vector<std::vector<std::string>>{{"a", "b"}, {"", "c"}}));

    // All or nothing: a good frequency and tone are not written when a
    // cell after them is refused.
    check = clip::checkPaste(table, 1, 1, "145.5\t\tD023N\tOFF\tHuge");
    ASSERT_EQ(check.refused.size(), 1u);
    EXPECT_EQ(check.refused[0].column, ColPower);
    EXPECT_EQ(check.refused[0].reason, "not in the list");
    EXPECT_TRUE(check.writes.empty());
}

TEST(ClipboardRules, PasteAndDeleteReachTheLastChannel)
{
    ChannelTable table;
    clip::PasteCheck check = clip::checkPaste(table, 16, 1, "146.52\t\tD023N");
    EXPECT_TRUE(check.refused.empty());
    EXPECT_EQ(check.writes, (std::vector<clip::CellWrite>{{ColRx, 16, "146.52000"},
                                                          {ColDecode, 16, "D023N"},
                                                          {ColEncode, 16, "0FF"},
                                                          {ColPower, 16, "High"},
                                                          {ColBandwidth, 16, "Wide"}}));

    table.setCell(ColRx, 16, "146.52000");
    table.setCell(ColTx, 16, "146.52000");
    table.setCell(ColDecode, 16, "D023N");
    table.setCell(ColEncode, 16, "0FF");
    table.setCell(ColPower, 16, "Low");
    table.setCell(ColBandwidth, 16, "Narrow");
    EXPECT_EQ(clip::deleteCells(table, {16, ColDecode, 16, ColPower}),
              (std::vector<clip::CellWrite>{{ColDecode, 16, "0FF"}, {ColPower, 16, "High"}}));
    EXPECT_EQ(clip::deleteCells(table, {15, ColRx, 16, ColTx}),
              (std::vector<clip::CellWrite>{{ColRx, 16, ""},
                                            {ColTx, 16, ""},
                                            {ColDecode, 16, ""},
                                            {ColEncode, 16, ""},
                                            {ColPower, 16, ""},
                                            {ColBandwidth, 16, ""}}));
}

} // namespace
} // namespace zk::test
