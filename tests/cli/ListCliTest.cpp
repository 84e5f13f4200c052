// import --fit, --rows, --band, --all-problems and --list through the built
// zk-h41-cli, on real files.
#include "CliHarness.h"
#include "ChannelFile.h"
#include "RunProgram.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

using namespace zk;
using zk::test::cli;
using zk::test::ProgramResult;
using zk::test::readBytes;
using zk::test::TempFolder;
using zk::test::writeBytes;

namespace {

// A club's repeater list: 46 VHF repeaters, then a UHF section numbered
// from 1 again.
std::string clubList()
{
    std::string text = "Location,Name,Frequency,Duplex,Offset,Tone,cToneFreq,Mode,Comment\n";
    for (int n = 0; n < 46; ++n) {
        const int khz = 145200 + n * 25;
        text += std::to_string(n + 1) + ",R" + std::to_string(n) + "," + std::to_string(khz / 1000) + "." +
                std::to_string(1000 + khz % 1000).substr(1) + ",-,0.6,TSQL,100,FM,club\n";
    }
    for (int n = 0; n < 6; ++n)
        text += std::to_string(n + 1) + ",U" + std::to_string(n) + ",438." + std::to_string(500 + n * 25) +
                ",-,7.6,,,NFM,\n";
    return text;
}

ChannelTable planIn(const std::string& path)
{
    ChannelTable table;
    openChannelFile(path, table);
    return table;
}

} // namespace

TEST(CliList, FitTakesTheFirstSixteenOfTheFullestBandAndSaysWhatWasLeftOut)
{
    TempFolder folder;
    const std::string csv = folder.file("club.csv");
    const std::string plan = folder.file("plan.bc");
    writeBytes(csv, clubList());
    writeBytes(plan, "old plan");

    ProgramResult r = cli({"import", csv, "-o", plan});
    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_EQ(r.err, "Cannot import \"" + csv + "\"; nothing was changed:\n\"" + csv +
                         "\" has 52 rows: 46 in VHF:136-174, 6 in UHF:400-490; the radio holds 16 channels in one "
                         "band (import part of it with --fit or --rows)\n"
                         "Location above 16: lines 18-47\n"
                         "Location already used on an earlier line: lines 48-53\n"
                         "RX frequency outside 136-174 MHz, the band of the other frequencies: lines 48-53\n"
                         "TX frequency outside 136-174 MHz, the band of the other frequencies: lines 48-53\n");
    EXPECT_EQ(readBytes(plan), "old plan");
    r = cli({"import", csv, "-o", plan, "--all-problems"});
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 2 + 30 + 6 * 3) << r.err;

    r = cli({"import", "--fit", csv, "-o", plan});
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(r.err, "Imported 16 channels into VHF:136-174 from 52 rows; left out: 30 beyond the first 16 (lines "
                     "18-47), 6 in other bands (lines 48-53). Not stored in the radio: Name, Comment.\n");
    ChannelTable table = planIn(plan);
    EXPECT_EQ(table.cell(ColRx, 1), "145.20000");
    EXPECT_EQ(table.cell(ColTx, 16), "144.97500");
    EXPECT_EQ(table.cell(ColDecode, 16), "100.0HZ");

    // The band by its range, then by its number.
    r = cli({"import", "--fit", "--band", "400-490", csv, "-o", plan});
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(r.err, "Imported 6 channels into UHF:400-490 from 52 rows; left out: 46 in other bands (lines 2-47). "
                     "Not stored in the radio: Name.\n");
    table = planIn(plan);
    EXPECT_EQ(table.cell(ColRx, 1), "438.50000");
    EXPECT_EQ(table.cell(ColTx, 6), "431.02500");
    EXPECT_TRUE(table.rowIsEmpty(7));
    r = cli({"import", "--fit", "--band=3", csv, "-o", plan});
    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_EQ(r.err, "Cannot import \"" + csv + "\"; nothing was changed:\nno row the radio can store is in "
                     "UHF:340-390; the rows that can be stored: 46 in VHF:136-174, 6 in UHF:400-490\n");
    EXPECT_EQ(planIn(plan).cell(ColRx, 1), "438.50000"); // the last plan written stays
}

TEST(CliList, RowsTakesTheNamedLinesInFileOrder)
{
    TempFolder folder;
    const std::string csv = folder.file("club.csv");
    const std::string plan = folder.file("plan.bc");
    writeBytes(csv, clubList());
    ProgramResult r = cli({"import", csv, "--rows", "9,3-4", "-o", plan});
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(r.err, "Imported 3 channels into VHF:136-174 from 52 rows; left out: 49 not chosen (lines 2, 5-8, "
                     "10-53). Not stored in the radio: Name, Comment.\n");
    const ChannelTable table = planIn(plan);
    EXPECT_EQ(table.cell(ColRx, 1), "145.22500");
    EXPECT_EQ(table.cell(ColRx, 2), "145.25000");
    EXPECT_EQ(table.cell(ColRx, 3), "145.37500");
    EXPECT_TRUE(table.rowIsEmpty(4));

    r = cli({"import", csv, "--rows", "2-18", "-o", plan});
    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_EQ(r.err, "Cannot import \"" + csv + "\"; nothing was changed:\n17 rows were chosen; the radio holds 16 "
                                                "channels\n");
    r = cli({"import", csv, "--rows", "two", "-o", plan});
    EXPECT_EQ(r.exitStatus, 2);
    EXPECT_EQ(r.err.substr(0, r.err.find('\n')),
              "zk-h41-cli: '--rows': \"two\" is not a list of line numbers such as 2-17 or 3,5,9-12");
    r = cli({"import", csv, "--rows", "2", "--fit", "-o", plan});
    EXPECT_EQ(r.exitStatus, 2);
    EXPECT_EQ(r.err.substr(0, r.err.find('\n')), "zk-h41-cli: give '--fit' or '--rows', not both");
    r = cli({"import", csv, "--band", "9", "--fit", "-o", plan});
    EXPECT_EQ(r.exitStatus, 2);
    EXPECT_EQ(r.err.substr(0, r.err.find('\n')),
              "zk-h41-cli: '--band 9' is no band: give 1-5 or a range such as 136-174");
}

TEST(CliList, NoChannelRowsOrAnotherEncodingWritesNothing)
{
    TempFolder folder;
    const std::string plan = folder.file("plan.bc");
    writeBytes(plan, "old plan");
    for (const std::string& args : {std::string(), std::string("--fit")}) {
        std::vector<std::string> command{"import", "-", "-o", plan};
        if (!args.empty())
            command.push_back(args);
        ProgramResult r = cli(command, "Location,Frequency\r\n,,\r\n");
        EXPECT_EQ(r.exitStatus, 1);
        EXPECT_EQ(r.err, "Cannot import standard input; nothing was changed:\nstandard input has no channel rows\n");
        r = cli(command, std::string("\xFF\xFEL\0o\0", 6));
        EXPECT_EQ(r.err, "Cannot import standard input; nothing was changed:\nstandard input is UTF-16 text; save "
                         "it as UTF-8 CSV (comma-separated)\n");
        r = cli(command, "Location;Frequency\n1;146.52\n");
        EXPECT_EQ(r.err, "Cannot import standard input; nothing was changed:\nstandard input separates its columns "
                         "with \";\"; the import reads comma-separated files\n");
    }
    EXPECT_EQ(readBytes(plan), "old plan");
}

TEST(CliList, StockListsAreFoundBesideTheProgramAndImportWhole)
{
    ProgramResult r = cli({"import", "--list"});
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(r.out, "frs     FRS (United States): 2 W ERP at most; 12.5 kHz narrow; only with a radio approved "
                     "for FRS; you must keep these limits\n"
                     "murs    MURS (United States): 2 W transmitter power at most; 11.25 kHz narrow; you must keep "
                     "these limits\n"
                     "pmr446  PMR446 (licence-free in Europe and elsewhere): 0.5 W ERP at most with the radio's own "
                     "fixed antenna; you must keep these limits\n");

    TempFolder folder;
    const std::string plan = folder.file("pmr.bc");
    r = cli({"import", "--list", "pmr446", "-o", plan});
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(r.err, "Imported 16 channels into UHF:400-490 from 16 rows. Not stored in the radio: Name, Comment.\n");
    ChannelTable table = planIn(plan);
    const std::vector<std::string> first{"446.00625", "446.00625", "OFF", "OFF", "Low", "Narrow"};
    for (int c = 1; c < kColumns; ++c)
        EXPECT_EQ(table.cell(c, 1), first[static_cast<std::size_t>(c - 1)]);
    EXPECT_EQ(table.cell(ColRx, 16), "446.19375");

    r = cli({"import", "--list", "frs", "-o", plan});
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    table = planIn(plan);
    EXPECT_EQ(table.cell(ColRx, 8), "467.56250");
    EXPECT_EQ(table.cell(ColRx, 16), "462.57500");
    EXPECT_EQ(table.cell(ColBandwidth, 1), "Narrow");
    r = cli({"import", "--list", "murs", "-o", plan});
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    table = planIn(plan);
    EXPECT_EQ(table.cell(ColRx, 1), "151.82000");
    EXPECT_EQ(table.cell(ColBandwidth, 3), "Narrow");
    EXPECT_EQ(table.cell(ColBandwidth, 4), "Wide");
    EXPECT_EQ(table.cell(ColPower, 5), "Low");

    r = cli({"import", "--list", "gmrs", "-o", plan});
    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_EQ(r.err, "There is no stock list \"gmrs\"; the lists are: frs, murs, pmr446\n");
}
