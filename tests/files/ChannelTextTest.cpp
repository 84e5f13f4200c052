#include "ChannelFile.h"
#include "Errors.h"

#include <gtest/gtest.h>

#include <functional>

using namespace zk;

namespace {

const std::string kNewTableText =
    "1, , , , , , ,\r2, , , , , , ,\r3, , , , , , ,\r4, , , , , , ,\r5, , , , , , ,\r"
    "6, , , , , , ,\r7, , , , , , ,\r8, , , , , , ,\r9, , , , , , ,\r10, , , , , , ,\r"
    "11, , , , , , ,\r12, , , , , , ,\r13, , , , , , ,\r14, , , , , , ,\r15, , , , , , ,\r"
    "16, , , , , , ,\r0,\r0,\r0,\r0,\r0,\r\n";

void setRow(ChannelTable& t, int row, std::vector<std::string> cells)
{
    for (int c = 1; c < kColumns; ++c)
        t.setCell(c, row, cells[static_cast<std::size_t>(c - 1)]);
}

// Every channel cell differs from a new table's, every setting from index 0.
ChannelTable filledTable()
{
    ChannelTable t;
    for (int r = 1; r <= kChannels; ++r)
        setRow(t, r, {"4" + std::to_string(10 + r) + ".12500", "146.25000", "67.0HZ", "D754I", "Low", "Narrow"});
    setRow(t, 2, {"", "", "", "", "", ""});
    setRow(t, 3, {"145.50000", "", "0FF", "", "High", ""});
    t.setCell(ColChannel, 7, "seven");
    const int settings[kSettings] = {2, 40, 9, 1, 8};
    for (int s = 0; s < kSettings; ++s)
        t.setSetting(s, settings[s]);
    return t;
}

void expectSameTable(const ChannelTable& expected, const ChannelTable& actual)
{
    for (int r = 1; r <= kChannels; ++r)
        for (int c = 0; c < kColumns; ++c)
            EXPECT_EQ(expected.cell(c, r), actual.cell(c, r)) << "column " << c << ", row " << r;
    for (int s = 0; s < kSettings; ++s)
        EXPECT_EQ(expected.setting(s), actual.setting(s)) << "setting " << s;
}

// The file's lines (row lines, then settings lines) without their line ends.
std::vector<std::string> linesOf(const ChannelTable& t)
{
    std::vector<std::string> lines;
    std::string text = writeChannelText(t);
    text.resize(text.size() - 2); // the final CR LF
    std::size_t begin = 0;
    for (std::size_t end; (end = text.find('\r', begin)) != std::string::npos; begin = end + 1)
        lines.push_back(text.substr(begin, end - begin));
    lines.push_back(text.substr(begin));
    return lines;
}

std::string join(const std::vector<std::string>& lines, const std::string& lineEnd)
{
    std::string text;
    for (const auto& line : lines)
        text += line + lineEnd;
    return text;
}

// Runs the read and returns the error text it raised, "" when none.
std::string readError(ChannelTable& t, const std::string& bytes)
{
    try {
        readChannelText(t, bytes);
    } catch (const AppError& e) {
        return e.what();
    }
    return std::string();
}

} // namespace

TEST(ChannelTextWriter, NewTableIs263BytesWithLoneCarriageReturns)
{
    const std::string text = writeChannelText(ChannelTable());
    EXPECT_EQ(text.size(), 263u);
    EXPECT_EQ(text, kNewTableText);
}

TEST(ChannelTextWriter, WritesCellsUnchangedAndEmptyCellsAsASpace)
{
    const std::vector<std::string> lines = linesOf(filledTable());
    ASSERT_EQ(lines.size(), 21u);
    EXPECT_EQ(lines[0], "1,411.12500,146.25000,67.0HZ,D754I,Low,Narrow,");
    EXPECT_EQ(lines[1], "2, , , , , , ,");
    EXPECT_EQ(lines[2], "3,145.50000, ,0FF, ,High, ,");
    EXPECT_EQ(lines[6].substr(0, 6), "seven,");
    EXPECT_EQ(lines[16], "2,");
    EXPECT_EQ(lines[17], "40,");
    EXPECT_EQ(lines[20], "8,");
}

TEST(ChannelTextWriter, NoSelectionIsWrittenAsMinusOne)
{
    ChannelTable t;
    t.setSetting(3, ChannelTable::kNoSelection);
    EXPECT_EQ(linesOf(t)[19], "-1,");
}

TEST(ChannelTextReader, RoundTripGivesBackEveryCellAndIndex)
{
    const ChannelTable saved = filledTable();
    ChannelTable loaded;
    readChannelText(loaded, writeChannelText(saved));
    expectSameTable(saved, loaded);

    ChannelTable fresh = filledTable();
    readChannelText(fresh, kNewTableText);
    expectSameTable(ChannelTable(), fresh);
}

TEST(ChannelTextReader, NoSelectionRoundTripsAndIndicesBeyondTheListSelectNothing)
{
    ChannelTable saved;
    saved.setSetting(0, ChannelTable::kNoSelection);
    ChannelTable loaded;
    readChannelText(loaded, writeChannelText(saved));
    EXPECT_EQ(loaded.setting(0), ChannelTable::kNoSelection);

    std::vector<std::string> lines = linesOf(ChannelTable());
    lines[16] = "3,";   // c1 has three items: 3 is one beyond
    lines[17] = "40,";  // last item of the time-out list
    lines[18] = "-7,";
    lines[19] = "+1,";
    lines[20] = "99999999999,"; // does not fit 32 bits: not an integer at all
    ChannelTable t;
    EXPECT_EQ(readError(t, join(lines, "\r")), "'99999999999' is not a valid integer value");
    EXPECT_EQ(t.setting(0), ChannelTable::kNoSelection);
    EXPECT_EQ(t.setting(1), 40);
    EXPECT_EQ(t.setting(2), ChannelTable::kNoSelection);
    EXPECT_EQ(t.setting(3), 1);
    EXPECT_EQ(t.setting(4), 0);
}

TEST(ChannelTextReader, AcceptsEveryLineEndBlankLinesAndLeadingTildes)
{
    const ChannelTable saved = filledTable();
    const std::vector<std::string> lines = linesOf(saved);
    std::vector<std::string> variants = {join(lines, "\r\n"), join(lines, "\n"), join(lines, "\r\n\r\n\n\r"),
                                         "\n\n" + join(lines, "\r")};
    std::string mixed;
    for (std::size_t i = 0; i < lines.size(); ++i)
        mixed += (i % 3 == 0 ? "~~" : "") + lines[i] + (i % 2 ? "\n" : "\r\n\r");
    variants.push_back(mixed);
    for (const auto& text : variants) {
        ChannelTable loaded;
        readChannelText(loaded, text);
        expectSameTable(saved, loaded);
    }
}

TEST(ChannelTextReader, IgnoresWhatFollowsANulAndRecordsOrFieldsBeyondTheLast)
{
    const ChannelTable saved = filledTable();
    std::vector<std::string> lines = linesOf(saved);
    lines[0] += "extra,fields,";
    lines[16] += "5,";
    lines.push_back("22nd record,");
    ChannelTable loaded;
    readChannelText(loaded, join(lines, "\r") + std::string("\0garbage,\r", 10));
    expectSameTable(saved, loaded);

    // A NUL where line 17 begins leaves only the sixteen row lines.
    const std::string cut = join(linesOf(saved), "\r");
    const std::size_t line17 = cut.find("2,\r40,");
    ChannelTable t;
    EXPECT_EQ(readError(t, cut.substr(0, line17) + '\0' + cut.substr(line17)), "List index out of bounds (16)");
}

TEST(ChannelTextReader, QuotedCellsKeepTheirCommasAndQuotes)
{
    std::vector<std::string> lines = linesOf(ChannelTable());
    lines[0] = "1,\"a,b\",'c d', , , , ,";
    ChannelTable t;
    readChannelText(t, join(lines, "\r"));
    EXPECT_EQ(t.cell(ColRx, 1), "\"a,b\"");
    EXPECT_EQ(t.cell(ColTx, 1), "'c d'");
    EXPECT_EQ(t.cell(ColDecode, 1), "");

    // A quote held open across line ends keeps them, each one as CR LF,
    // blank lines included.
    for (const std::string lineEnd : {"\r", "\n", "\r\n"}) {
        lines[0] = "1,'a" + lineEnd + lineEnd + "b', , , , , ,";
        ChannelTable u;
        readChannelText(u, join(lines, "\r"));
        EXPECT_EQ(u.cell(ColRx, 1), "'a\r\n\r\nb'");
        EXPECT_EQ(u.cell(ColChannel, 2), "2");
    }
}

TEST(ChannelTextReader, TooFewRecordsReplaceWhatCameBeforeTheMissingOne)
{
    const std::vector<std::string> lines = linesOf(ChannelTable());
    {
        // Only the sixteen row lines: every row loads, the settings stay.
        ChannelTable t = filledTable();
        EXPECT_EQ(readError(t, join({lines.begin(), lines.begin() + 16}, "\r")), "List index out of bounds (16)");
        for (int r = 1; r <= kChannels; ++r)
            EXPECT_TRUE(t.rowIsEmpty(r)) << r;
        EXPECT_EQ(t.setting(0), 2);
        EXPECT_EQ(t.setting(4), 8);
    }
    {
        ChannelTable t = filledTable();
        EXPECT_EQ(readError(t, join({lines.begin(), lines.begin() + 18}, "\r")), "List index out of bounds (18)");
        EXPECT_EQ(t.setting(0), 0);
        EXPECT_EQ(t.setting(1), 0);
        EXPECT_EQ(t.setting(2), 9);
    }
    {
        ChannelTable t = filledTable();
        EXPECT_EQ(readError(t, join({lines.begin(), lines.begin() + 5}, "\r")), "List index out of bounds (5)");
        EXPECT_TRUE(t.rowIsEmpty(5));
        EXPECT_EQ(t.cell(ColRx, 6), "416.12500");
        EXPECT_EQ(t.cell(ColChannel, 7), "seven");
    }
    {
        ChannelTable t = filledTable();
        EXPECT_EQ(readError(t, ""), "List index out of bounds (0)");
        EXPECT_EQ(readError(t, "\r\n~~\r\n\n"), "List index out of bounds (0)");
        expectSameTable(filledTable(), t);
    }
}

TEST(ChannelTextReader, ARowWithTooFewFieldsStopsAtTheFirstMissingColumn)
{
    std::vector<std::string> lines = linesOf(ChannelTable());
    lines[4] = "5,145.00000,,OFF,OFF,High,Wide,"; // an empty cell as nothing between commas
    ChannelTable t = filledTable();
    EXPECT_EQ(readError(t, join(lines, "\r")), "List index out of bounds (6)");
    EXPECT_TRUE(t.rowIsEmpty(4));
    // The fields slid left by one into the columns before the missing one.
    EXPECT_EQ(t.cell(ColRx, 5), "145.00000");
    EXPECT_EQ(t.cell(ColTx, 5), "OFF");
    EXPECT_EQ(t.cell(ColPower, 5), "Wide");
    EXPECT_EQ(t.cell(ColBandwidth, 5), "Narrow");
    EXPECT_EQ(t.cell(ColRx, 6), "416.12500");
    EXPECT_EQ(t.setting(0), 2);

    lines[4] = ",,,";
    ChannelTable u = filledTable();
    EXPECT_EQ(readError(u, join(lines, "\r")), "List index out of bounds (0)");
    EXPECT_EQ(u.cell(ColRx, 5), "415.12500");
}

TEST(ChannelTextReader, ASettingThatIsNoIntegerStopsAfterTheEarlierSettings)
{
    std::vector<std::string> lines = linesOf(ChannelTable());
    lines[16] = "1,";
    lines[17] = " 2 ,";
    lines[18] = "3x,";
    ChannelTable t = filledTable();
    EXPECT_EQ(readError(t, join(lines, "\r")), "'3x' is not a valid integer value");
    EXPECT_TRUE(t.rowIsEmpty(16));
    EXPECT_EQ(t.setting(0), 1);
    EXPECT_EQ(t.setting(1), 2);
    EXPECT_EQ(t.setting(2), 9);
    EXPECT_EQ(t.setting(3), 1);

    lines[18] = ",,";
    ChannelTable u = filledTable();
    EXPECT_EQ(readError(u, join(lines, "\r")), "List index out of bounds (0)");
    EXPECT_EQ(u.setting(2), 9);

    lines[18] = "\"7\",";
    ChannelTable v;
    EXPECT_EQ(readError(v, join(lines, "\r")), "'\"7\"' is not a valid integer value");
}
