// Lists as people publish them: too long, numbered from 0, with gaps,
// numbering restarting per band, two bands; fitted, picked by line, and
// told in one summary line or grouped problems.
#include "Codec.h"
#include "CsvFields.h"
#include "CsvPlan.h"
#include "ListFit.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

using namespace zk;
using zk::test::errorOf;

namespace {

// "146.52000" for 14652000.
std::string megahertz(long long tenHz)
{
    const std::string fraction = std::to_string(100000 + tenHz % 100000).substr(1);
    return std::to_string(tenHz / 100000) + "." + fraction;
}
// A simplex row on 146.52 MHz + n * 25 kHz or 446.00625 + n * 12.5 kHz.
std::string vhfRow(const std::string& location, int n)
{
    return location + ",V" + std::to_string(n) + "," + megahertz(14652000 + n * 2500) + ",,,,,FM,High,club\n";
}
std::string uhfRow(const std::string& location, int n)
{
    return location + ",U" + std::to_string(n) + "," + megahertz(44600625 + n * 1250) + ",,,,,NFM,0.5,\n";
}
const std::string kHead = "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,Mode,Power,Comment\n";

ChannelList listOf(const std::string& text)
{
    return readChannelList(text, "l.csv");
}

// Channel n's receive frequency as the grid shows it.
std::string rx(const CsvPlan& plan, int channel)
{
    return plan.channels[static_cast<std::size_t>(channel - 1)][ColRx - 1];
}

} // namespace

TEST(ListFit, ALongListGivesItsFirstSixteenRowsAndSaysWhatWasLeftOut)
{
    std::string text = kHead;
    for (int n = 0; n < 46; ++n)
        text += vhfRow(std::to_string(n + 1), n);
    const ListImport fit = fitRows(listOf(text), "l.csv");
    EXPECT_EQ(fit.plan.band, 1);
    EXPECT_EQ(rx(fit.plan, 1), "146.52000");
    EXPECT_EQ(rx(fit.plan, 16), "146.89500");
    EXPECT_EQ(importSummaryLine(fit.summary),
              "Imported 16 channels into VHF:136-174 from 46 rows; left out: 30 beyond the first 16 (lines 18-47). "
              "Not stored in the radio: Name, Comment.");
    // Without the fit: the length and the band first, then one line for 30 Locations.
    EXPECT_EQ(errorOf([&] { readCsvPlan(text, "l.csv", {"use --fit or --rows", "", false}); }),
              "Cannot import l.csv; nothing was changed:\n"
              "l.csv has 46 rows in VHF:136-174; the radio holds 16 channels in one band (use --fit or --rows)\n"
              "Location above 16: lines 18-47");
    const std::string all = errorOf([&] { readCsvPlan(text, "l.csv", {"x", "", true}); });
    EXPECT_EQ(std::count(all.begin(), all.end(), '\n'), 31) << all;
    EXPECT_NE(all.find("\nline 47: Location \"46\" is not a channel number from 1 to 16"), std::string::npos) << all;
}

TEST(ListFit, NumberingFromZeroWithGapsOrRestartingPerBandFillsChannelsInFileOrder)
{
    // From 0 with gaps: file order, not the numbers.
    const ListImport fromZero = fitRows(listOf(kHead + vhfRow("0", 0) + vhfRow("7", 1) + vhfRow("121", 2)), "l.csv");
    EXPECT_EQ(rx(fromZero.plan, 1), "146.52000");
    EXPECT_EQ(rx(fromZero.plan, 2), "146.54500");
    EXPECT_EQ(rx(fromZero.plan, 3), "146.57000");
    EXPECT_EQ(rx(fromZero.plan, 4), "");
    EXPECT_EQ(importSummaryLine(fromZero.summary),
              "Imported 3 channels into VHF:136-174 from 3 rows. Not stored in the radio: Name, Comment.");

    // Numbering restarting for each band section; UHF has more rows and
    // 400-490 comes before 440-520 in the menu.
    std::string restarting = kHead;
    for (int n = 0; n < 3; ++n)
        restarting += vhfRow(std::to_string(n + 1), n);
    for (int n = 0; n < 5; ++n)
        restarting += uhfRow(std::to_string(n + 1), n);
    const ChannelList list = listOf(restarting);
    EXPECT_EQ(storableRowsPerBand(list), (std::array<int, kBands>{3, 0, 0, 5, 5}));
    const ListImport fit = fitRows(list, "l.csv");
    EXPECT_EQ(fit.plan.band, 4);
    EXPECT_EQ(rx(fit.plan, 1), "446.00625");
    EXPECT_EQ(fit.plan.channels[4], (std::array<std::string, kColumns - 1>{"446.05625", "446.05625", "OFF", "OFF",
                                                                           "Low", "Narrow"}));
    EXPECT_EQ(importSummaryLine(fit.summary), "Imported 5 channels into UHF:400-490 from 8 rows; left out: 3 in other "
                                              "bands (lines 2-4). Not stored in the radio: Name.");
    EXPECT_EQ(whyLeftOut(list.rows[0], 4), "in VHF:136-174, not UHF:400-490");

    // --band by number or by range as the menu shows it.
    EXPECT_EQ(bandNamed("1"), 1);
    EXPECT_EQ(bandNamed("440-520"), 5);
    EXPECT_EQ(bandNamed("VHF:220-260"), 2);
    EXPECT_EQ(bandNamed("6"), 0);
    EXPECT_EQ(bandNamed("136"), 0);
    EXPECT_EQ(fitRows(list, "l.csv", bandNamed("136-174")).plan.band, 1);
    EXPECT_EQ(rx(fitRows(list, "l.csv", 1).plan, 3), "146.57000");
    EXPECT_EQ(errorOf([&] { fitRows(list, "l.csv", 3); }),
              "Cannot import l.csv; nothing was changed:\nno row the radio can store is in UHF:340-390; the rows "
              "that can be stored: 3 in VHF:136-174, 5 in UHF:400-490, 5 in UHF:440-520");
    // Without the fit, the bands come first.
    EXPECT_EQ(errorOf([&] { readCsvPlan(restarting, "l.csv"); }),
              "Cannot import l.csv; nothing was changed:\nl.csv has 8 rows: 3 in VHF:136-174, 5 in UHF:400-490, 5 in "
              "UHF:440-520; the radio holds 16 channels in one band (choose which rows to import)\n"
              "RX frequency outside 400-490 MHz, the band of the other frequencies: lines 2-4\n"
              "Location already used on an earlier line: lines 5-7");
}

TEST(ListFit, RowsTheRadioCannotStoreAreLeftOutWithTheirReasons)
{
    const ChannelList list = listOf("Location,Frequency,Mode,Tone\n"
                                    "1,146.52,AM,\n"
                                    "2,146.54,FM,Cross\n"
                                    "3,600,FM,\n"
                                    "4,146.56,FM,\n");
    EXPECT_EQ(whyLeftOut(list.rows[0], 1), "Mode \"AM\" cannot be stored: FM (wide) or NFM (narrow) only");
    EXPECT_EQ(whyLeftOut(list.rows[1], 1), "Tone \"Cross\" needs a CrossMode column, and the file has none");
    EXPECT_EQ(whyLeftOut(list.rows[2], 1), "RX frequency 600 MHz is in none of the radio's bands (136-174, 220-260, "
                                           "340-390, 400-490, 440-520 MHz)");
    EXPECT_EQ(whyLeftOut(list.rows[3], 1), "");
    const ListImport fit = fitRows(list, "l.csv");
    EXPECT_EQ(importSummaryLine(fit.summary), "Imported 1 channel into VHF:136-174 from 4 rows; left out: 3 the radio "
                                              "cannot store (lines 2-4).");
    EXPECT_EQ(errorOf([&] { fitRows(listOf("Frequency\n600\n700\n"), "l.csv"); }),
              "Cannot import l.csv; nothing was changed:\nnot one of its 2 rows can be stored in the radio (bands "
              "136-174, 220-260, 340-390, 400-490, 440-520 MHz):\n"
              "line 2: RX frequency 600 MHz is in none of the radio's bands (136-174, 220-260, 340-390, 400-490, "
              "440-520 MHz)\n"
              "line 3: RX frequency 700 MHz is in none of the radio's bands (136-174, 220-260, 340-390, 400-490, "
              "440-520 MHz)");
    // RX and TX each in a band, but not in the same one.
    EXPECT_EQ(whyLeftOut(listOf("Frequency,Duplex,Offset\n146.52,split,446\n").rows[0], 1),
              "RX frequency 146.52 MHz and TX frequency 446 MHz are in no band together");
}

TEST(ListFit, RowsNamedByLineAreTakenAllOrNothingInFileOrder)
{
    std::string text = kHead;
    for (int n = 0; n < 20; ++n)
        text += vhfRow(std::to_string(n + 1), n);
    text += uhfRow("21", 0);
    const ChannelList list = listOf(text);
    EXPECT_EQ(parseLineList("12,3,5,9-11"), (std::vector<int>{12, 3, 5, 9, 10, 11}));
    EXPECT_EQ(errorOf([] { parseLineList("3,x"); }), "\"3,x\" is not a list of line numbers such as 2-17 or 3,5,9-12");
    EXPECT_EQ(errorOf([] { parseLineList("9-3"); }), "\"9-3\" is not a list of line numbers such as 2-17 or 3,5,9-12");

    const ListImport picked = pickRows(list, "l.csv", parseLineList("12,3,5,9-11"));
    EXPECT_EQ(rx(picked.plan, 1), "146.54500"); // line 3
    EXPECT_EQ(rx(picked.plan, 2), "146.59500"); // line 5
    EXPECT_EQ(rx(picked.plan, 6), "146.77000"); // line 12
    EXPECT_EQ(rx(picked.plan, 7), "");
    EXPECT_EQ(picked.plan.band, 1);
    EXPECT_EQ(importSummaryLine(picked.summary),
              "Imported 6 channels into VHF:136-174 from 21 rows; left out: 15 not chosen (lines 2, 4, 6-8, 13-22). "
              "Not stored in the radio: Name, Comment.");

    EXPECT_EQ(errorOf([&] { pickRows(list, "l.csv", parseLineList("2-18")); }),
              "Cannot import l.csv; nothing was changed:\n17 rows were chosen; the radio holds 16 channels");
    EXPECT_EQ(errorOf([&] { pickRows(list, "l.csv", parseLineList("1,2,40")); }),
              "Cannot import l.csv; nothing was changed:\nno channel row starts on lines 1, 40; the rows are on lines "
              "2-22");
    EXPECT_EQ(errorOf([&] { pickRows(list, "l.csv", parseLineList("21-22")); }),
              "Cannot import l.csv; nothing was changed:\nthe chosen rows are in no band together:\n"
              "line 21: in VHF:136-174\nline 22: in UHF:400-490 and UHF:440-520");
    EXPECT_EQ(pickRows(list, "l.csv", {22}, 5).plan.band, 5);
}

TEST(ListFit, AListTheOldImportTookGivesTheSamePlanWithAndWithoutTheFit)
{
    for (const std::string& text : {
             std::string("Location,Name,Frequency,Duplex,Offset,Tone,cToneFreq,Mode,Power\r\n"
                         "3,\"Club, north\",146.94,-,0.6,TSQL,100,NFM,1W\r\n16,Simplex,146.52,,,,,FM,High\r\n"),
             std::string("Power,Mode,location,FREQUENCY,Tone,rToneFreq\n5.0W,NFM,3,446.00625,Tone,67\n"
                         "0.5 W,FM,16,519.99,,\n"),
             std::string("Location,Frequency,Duplex,Offset,Tone,DtcsCode,DtcsPolarity\n2,446.1,,,DTCS,754,RN\n"
                         "3,446.0,+,5,,,\n5,445.0,off,,,,\n")}) {
        const ChannelList list = listOf(text);
        const CsvPlan exact = readCsvPlan(text, "l.csv");
        const ListImport fit = fitRows(list, "l.csv");
        EXPECT_EQ(fit.plan.channels, exact.channels) << text;
        EXPECT_EQ(fit.plan.band, exact.band) << text;
        // All rows named: the same again.
        std::vector<int> lines;
        for (const ListRow& row : list.rows)
            lines.push_back(row.line);
        EXPECT_EQ(pickRows(list, "l.csv", lines).plan.channels, exact.channels) << text;
    }
    // Channel 3 and 16 stay where the file puts them.
    const CsvPlan plan = fitRows(listOf("Location,Frequency\n3,146.94\n16,146.52\n"), "l.csv").plan;
    EXPECT_EQ(rx(plan, 3), "146.94000");
    EXPECT_EQ(rx(plan, 16), "146.52000");
    EXPECT_EQ(rx(plan, 1), "");
}

TEST(ListText, TheEncodingTheSeparatorAndTheOlderColumnNameAreRecognised)
{
    const std::string expectedUtf16 = "Cannot import l.csv; nothing was changed:\nl.csv is UTF-16 text; save it as "
                                      "UTF-8 CSV (comma-separated)";
    const std::string le("L\0o\0c\0a\0t\0i\0o\0n\0", 16);
    const std::string be("\0L\0o\0c", 6);
    EXPECT_EQ(errorOf([&] { readCsvPlan("\xFF\xFE" + le, "l.csv"); }), expectedUtf16);
    EXPECT_EQ(errorOf([&] { readCsvPlan(le, "l.csv"); }), expectedUtf16);
    EXPECT_EQ(errorOf([&] { readCsvPlan("\xFE\xFF" + be, "l.csv"); }), expectedUtf16);
    EXPECT_EQ(errorOf([&] { readCsvPlan(be, "l.csv"); }), expectedUtf16);
    EXPECT_EQ(errorOf([] { readCsvPlan("\xEF\xBB\xBFLocation;Name;Frequency\n1;a;146.52\n", "l.csv"); }),
              "Cannot import l.csv; nothing was changed:\nl.csv separates its columns with \";\"; the import reads "
              "comma-separated files");
    EXPECT_EQ(errorOf([] { readCsvPlan("Location\tFrequency\n1\t146.52\n", "l.csv"); }),
              "Cannot import l.csv; nothing was changed:\nl.csv separates its columns with tabs; the import reads "
              "comma-separated files");

    const CsvPlan plan = readCsvPlan("Location,Frequency,Tone,CrossMode,cToneFreq,DtcsRxCode\n1,146.52,Cross,->DTCS,,"
                                     "754\n",
                                     "l.csv");
    EXPECT_EQ(plan.channels[0][ColDecode - 1], "D754N");
    EXPECT_EQ(errorOf([] { readCsvPlan("Location,Frequency,Tone\n1,146.52,Cross\n", "l.csv"); }),
              "Cannot import l.csv; nothing was changed:\nline 2: Tone \"Cross\" needs a CrossMode column, and the "
              "file has none");
    // Without a Location column only the fit can place the rows.
    EXPECT_EQ(fitRows(listOf("Frequency\n146.52\n"), "l.csv").summary.channels, 1);
}

TEST(ListText, FrequenciesReadAsTheyAreTyped)
{
    EXPECT_EQ(csv::megahertzText(5329000), "53.29");
    EXPECT_EQ(csv::megahertzText(44600000), "446");
    EXPECT_EQ(csv::megahertzText(44600625), "446.00625");
    EXPECT_EQ(csv::megahertzText(5), "0.00005");
    EXPECT_EQ(lineRanges({2, 3, 4, 7, 9, 10}), "2-4, 7, 9-10");
    EXPECT_EQ(lineRanges({2, 4, 6, 8, 10, 12}, 4), "2, 4, 6, 8, ...");
}

TEST(ListText, AtMostTwentyProblemLinesThenACount)
{
    // Eleven kinds of problem, each on two lines: none grouped.
    const std::vector<std::string> faults{
        "146.52,AM,,,,,,,,,",        "146.52,,x,,,,,,,,",           "146.52,,,Bell,,,,,,,",
        "146.52,,,,?,,,,,,",         "146.52,,,DTCS,,,,,023,XX,",   "146.52,,,Tone,,,1,,,,",
        "146.52,,,TSQL,,,,1,,,",     "146.52,,,DTCS,,,,,999,,",     "146.52,,,,+,x,,,,,",
        "abc,,,,,,,,,,",             "146.52,,,Cross,,,,,,,x"};
    std::string text = "Location,Frequency,Mode,Power,Tone,Duplex,Offset,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
                       "CrossMode\n";
    int location = 1;
    for (int twice = 0; twice < 2; ++twice)
        for (const std::string& fault : faults)
            text += std::to_string(location++ % 16 + 1) + "," + fault + "\n";
    const std::string error = errorOf([&] { readCsvPlan(text, "l.csv", {"x", "; more with y", false}); });
    EXPECT_EQ(std::count(error.begin(), error.end(), '\n'), 22) << error;
    EXPECT_EQ(error.substr(error.rfind('\n')), "\n... and 3 more problems; more with y") << error;
}
