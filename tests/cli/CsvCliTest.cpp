// import and export through the built zk-h41-cli, on real files and on
// standard input and output.
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

const std::string kList = "Location,Name,Frequency,Duplex,Offset,Tone,cToneFreq,Mode,Power\r\n"
                          "3,\"Club, north\",146.94,-,0.6,TSQL,100,NFM,1W\r\n"
                          "16,Simplex,146.52,,,,,FM,High\r\n";

// The export of listPlan(): a header, then each channel with a frequency.
const std::string kExported =
    "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,RxDtcsCode,CrossMode,"
    "Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE\r\n"
    "3,,146.940000,-,0.600000,TSQL,88.5,100.0,023,NN,023,Tone->Tone,NFM,5.00,,Low,,,,,\r\n"
    "16,,146.520000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,High,,,,,\r\n";

ChannelTable listPlan()
{
    ChannelTable table;
    const std::vector<std::string> row3{"146.94000", "146.34000", "100.0HZ", "100.0HZ", "Low", "Narrow"};
    const std::vector<std::string> row16{"146.52000", "146.52000", "OFF", "OFF", "High", "Wide"};
    for (int c = 1; c < kColumns; ++c) {
        table.setCell(c, 3, row3[static_cast<std::size_t>(c - 1)]);
        table.setCell(c, 16, row16[static_cast<std::size_t>(c - 1)]);
    }
    return table;
}

} // namespace

TEST(CliCsv, ImportAndExportBetweenFilesAndStandardStreams)
{
    TempFolder folder;
    const std::string csv = folder.file("list.csv");
    const std::string plan = folder.file("plan.bc");
    writeBytes(csv, kList);
    ProgramResult r = cli({"import", csv, "-o", plan});
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "Imported 2 channels into VHF:136-174 from 2 rows. Not stored in the radio: Name.\n");
    EXPECT_EQ(readBytes(plan), writeChannelText(listPlan()));
    // A list the radio takes whole: the same plan through the fit.
    r = cli({"import", "--fit", csv, "-o", "-"});
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(r.out, writeChannelText(listPlan()));

    const std::string exported = folder.file("out.csv");
    r = cli({"export", plan, "-o", exported});
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(readBytes(exported), kExported);

    r = cli({"import", "-", "-o", "-"}, kList);
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(r.out, writeChannelText(listPlan()));
    r = cli({"export", "-", "-o", "-"}, r.out);
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(r.out, kExported);

    // A DCS channel whose two sides differ in polarity: transmit first.
    ChannelTable dcs;
    const std::vector<std::string> row5{"446.10000", "446.10000", "D754N", "D754I", "High", "Narrow"};
    for (int c = 1; c < kColumns; ++c)
        dcs.setCell(c, 5, row5[static_cast<std::size_t>(c - 1)]);
    r = cli({"export", "-", "-o", "-"}, writeChannelText(dcs));
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(r.out, kExported.substr(0, kExported.find('\n') + 1) +
                         "5,,446.100000,,0.000000,DTCS,88.5,88.5,754,RN,023,Tone->Tone,NFM,5.00,,High,,,,,\r\n");
}

TEST(CliCsv, ARefusedImportWritesNothingAndListsTheLines)
{
    TempFolder folder;
    const std::string csv = folder.file("list.csv");
    const std::string plan = folder.file("plan.bc");
    writeBytes(csv, kList + "4,,446.0,,,,,AM,\r\n5,,146.52,+,x,,,,\r\n");
    writeBytes(plan, "old plan");
    const ProgramResult r = cli({"import", csv, "-o", plan});
    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_EQ(r.out, "");
    // The stray band comes first.
    EXPECT_EQ(r.err, "Cannot import \"" + csv + "\"; nothing was changed:\n\"" + csv +
                     "\" has 4 rows: 3 in VHF:136-174, 1 in UHF:400-490, 1 in UHF:440-520; the radio holds 16 "
                     "channels in one band (import part of it with --fit or --rows)\n"
                     "line 4: Mode \"AM\" cannot be stored: FM (wide) or NFM (narrow) only\n"
                     "line 4: RX frequency 446 MHz is outside 136-174 MHz, the band of the other frequencies\n"
                     "line 5: Offset \"x\" is not a frequency in MHz the radio can hold (10 Hz steps)\n");
    EXPECT_EQ(readBytes(plan), "old plan");

    const ProgramResult fromInput = cli({"import", "-", "-o", plan}, "Location,Frequency\n1,600\n");
    EXPECT_EQ(fromInput.exitStatus, 1);
    EXPECT_EQ(fromInput.err.rfind("Cannot import standard input; nothing was changed:\nline 2: ", 0), 0u)
        << fromInput.err;
}

TEST(CliCsv, UsageAndHelp)
{
    const ProgramResult tool = cli({"--help"});
    EXPECT_NE(tool.out.find("\n  import FILE.csv -o PLAN.bc "), std::string::npos) << tool.out;
    EXPECT_NE(tool.out.find("\n  export PLAN.bc -o FILE.csv "), std::string::npos) << tool.out;
    for (const std::string command : {"import", "export"}) {
        const ProgramResult help = cli({command, "--help"});
        EXPECT_EQ(help.exitStatus, 0);
        EXPECT_EQ(help.out.rfind("Usage: zk-h41-cli " + command + " ", 0), 0u) << help.out;
    }
    const ProgramResult noOutput = cli({"import", "list.csv"});
    EXPECT_EQ(noOutput.exitStatus, 2);
    EXPECT_EQ(noOutput.err.rfind("zk-h41-cli: missing '-o PLAN.bc'\n\nUsage: zk-h41-cli import ", 0), 0u);
    const ProgramResult noInput = cli({"export", "-o", "list.csv"});
    EXPECT_EQ(noInput.exitStatus, 2);
    EXPECT_EQ(noInput.err.rfind("zk-h41-cli: missing channel file (or '-' for standard input)\n\n", 0), 0u);
}
