// Runs the built zk-h41-cli on real files in a temporary folder.
#include "ChannelFile.h"
#include "CliHarness.h"
#include "FakeSystem.h"
#include "HexText.h"
#include "RadioMemory.h"
#include "RunProgram.h"
#include "TempFolder.h"
#include "VirtualRadio.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace zk;
using zk::test::channelAddress;
using zk::test::FakeSystem;
using zk::test::kEmptyRecord;
using zk::test::kFirstItemsSettings;
using zk::test::kSettingsAddress;
using zk::test::linesOf;
using zk::test::newPlanRecords;
using zk::test::cli;
using zk::test::expectUsageFailure;
using zk::test::ProgramResult;
using zk::test::samplePlan;
using zk::test::readBytes;
using zk::test::TempFolder;
using zk::test::WorkingDirectory;
using zk::test::writeBytes;

namespace {

void expectFailure(const ProgramResult& r, const std::string& text)
{
    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, text + "\n");
}

} // namespace

TEST(CliPorts, ListsTheSerialPortsOfThePreparedSystem)
{
    FakeSystem system;
    // A tty as sysfs shows it, and its node in /dev.
    auto tty = [&](const std::string& name, const char* uartType = nullptr, bool device = true) {
        std::filesystem::create_directories(system.path("sys/class/tty/" + name));
        if (device)
            std::filesystem::create_directories(system.path("sys/class/tty/" + name + "/device"));
        if (uartType)
            system.write("sys/class/tty/" + name + "/type", std::string(uartType) + "\n");
        system.write("dev/" + name, "");
    };
    const std::vector<std::string> environment{"ZK_H41_SYS_ROOT=" + system.view.sysRoot,
                                               "ZK_H41_DEV_ROOT=" + system.view.devRoot};
    const ProgramResult none = zk::test::runProgram(ZK_CLI_PROGRAM, {"ports"}, {}, {}, environment);
    EXPECT_EQ(none.exitStatus, 0);
    EXPECT_EQ(none.out, "");
    EXPECT_EQ(none.err, "No serial port found.\n");

    tty("ttyS0", "4");  // the console
    system.consoles("ttyS0");
    tty("ttyS1", "4");
    tty("ttyS2", "0");  // a UART slot with nothing in it
    tty("tty1", nullptr, false);
    tty("ttyUSB2");
    tty("ttyUSB10");
    tty("ttyACM0");
    const ProgramResult r = zk::test::runProgram(ZK_CLI_PROGRAM, {"ports"}, {}, {}, environment);
    EXPECT_EQ(r.exitStatus, 0);
    EXPECT_EQ(r.out,
              linesOf({system.dev("ttyACM0"), system.dev("ttyS1"), system.dev("ttyUSB10"), system.dev("ttyUSB2")}));
    EXPECT_EQ(r.err, "");
}

TEST(CliWrite, APlanThatCannotBeLoadedIsReportedBeforeThePortIsOpened)
{
    TempFolder folder;
    // The port does not exist either; the file is looked at first.
    expectFailure(cli({"write", "--port", folder.file("ttyNONE"), folder.file("absent.bc")}),
                  "Cannot open file \"" + folder.file("absent.bc") + "\". No such file or directory");
}

TEST(CliShow, PrintsTheChannelsAlignedAndTheSettingsByTheirTexts)
{
    TempFolder folder;
    ChannelTable plan = samplePlan();
    plan.setCell(ColChannel, 7, "seventh"); // a wider first column, as a hand-edited file may give
    plan.setSetting(2, ChannelTable::kNoSelection);
    saveChannelFile(folder.file("plan.bc"), plan);

    const ProgramResult r = cli({"show", folder.file("plan.bc")});
    EXPECT_EQ(r.exitStatus, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out,
              "Channel  RX Frequency  TX Frequency  QT/DQT Dec  QT/DQT Enc  TX Power  W/N\n"
              "1\n"
              "2        145.50000     145.50000     D023N       0FF         High      Wide\n"
              "3\n4\n5\n6\n"
              "seventh\n"
              "8\n9\n10\n11\n12\n13\n14\n"
              "15       461.42500     146.25000     67.0HZ      D754I       Low       Narrow\n"
              "16\n"
              "\n"
              "Voice Annunciation  : English\n"
              "Time Out Timer(TOT) : 600\n"
              "Squelch Level       : (none)\n"
              "VOX Function        : ON\n"
              "VOX Delay Time      : 9\n");
}

TEST(CliShow, ReportsFilesThatCannotBeLoaded)
{
    TempFolder folder;
    expectFailure(cli({"show", folder.file("absent.bc")}),
                  "Cannot open file \"" + folder.file("absent.bc") + "\". No such file or directory");
    const std::string full = writeChannelText(ChannelTable());
    writeBytes(folder.file("rows.bc"), full.substr(0, full.find("0,\r")));
    expectFailure(cli({"show", folder.file("rows.bc")}), "List index out of bounds (16)");
}

TEST(CliEncodeDecode, ANewPlanGivesEmptyRecordsAndComesBackUnchanged)
{
    TempFolder folder;
    const std::string plan = folder.file("new.bc");
    saveChannelFile(plan, ChannelTable());

    const ProgramResult encoded = cli({"encode", plan});
    EXPECT_EQ(encoded.exitStatus, 0);
    EXPECT_EQ(encoded.err, "");
    EXPECT_EQ(encoded.out, linesOf(newPlanRecords()));

    writeBytes(folder.file("records.txt"), encoded.out);
    const std::string decoded = folder.file("decoded.bc");
    const ProgramResult r = cli({"decode", folder.file("records.txt"), "-o", decoded});
    EXPECT_EQ(r.exitStatus, 0);
    EXPECT_EQ(r.out + r.err, "");
    EXPECT_EQ(readBytes(decoded), readBytes(plan));
    EXPECT_EQ(cli({"encode", decoded}).out, encoded.out);
}

TEST(CliEncodeDecode, AFullPlanRoundTripsThroughStandardInput)
{
    TempFolder folder;
    const std::string plan = folder.file("plan.bc");
    saveChannelFile(plan, samplePlan());
    const ProgramResult encoded = cli({"encode", plan});
    ASSERT_EQ(encoded.exitStatus, 0) << encoded.err;
    std::vector<std::string> records = newPlanRecords();
    records[1] = "00005514000055141320FFFFFF30FFFF";
    records[14] = "0025144600506214" "9E02ECA1" "FF00FFFF";
    records[16] = "0228FFFFFF09FFFFFFFF0109FFFFFFFF";
    EXPECT_EQ(encoded.out, linesOf(records));

    // CR LF line ends, blank lines and lowercase digits are all accepted.
    std::string input = "\r\n" + linesOf(records, "\r\n\n");
    input.replace(input.find("9E02ECA1"), 8, "9e02eca1");
    const std::string decoded = folder.file("decoded.bc");
    const ProgramResult r = cli({"decode", "-", "-o", decoded}, input);
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(cli({"encode", decoded}).out, encoded.out);

    ChannelTable loaded;
    openChannelFile(decoded, loaded);
    EXPECT_EQ(loaded.cell(ColEncode, 2), "OFF"); // the radio keeps no "0FF"
    EXPECT_EQ(loaded.cell(ColDecode, 15), "67.0HZ");
    EXPECT_EQ(loaded.cell(ColChannel, 16), "16");
    EXPECT_EQ(loaded.setting(4), 8);
}

TEST(CliEncodeDecode, EncodeErrorsPrintNothingOnStandardOutput)
{
    TempFolder folder;
    ChannelTable plan = samplePlan();
    plan.setCell(ColRx, 9, "14x.00000");
    saveChannelFile(folder.file("bad-cell.bc"), plan);
    expectFailure(cli({"encode", folder.file("bad-cell.bc")}),
                  "Channel 9, RX Frequency: \"14x.00000\" cannot be stored in the radio");

    ChannelTable unset = samplePlan();
    unset.setSetting(3, ChannelTable::kNoSelection);
    saveChannelFile(folder.file("unset.bc"), unset);
    expectFailure(cli({"encode", folder.file("unset.bc")}),
                  "Setting \"VOX Function\" has no item chosen and cannot be stored in the radio");
}

TEST(CliEncodeDecode, BadRecordsFailWithoutWritingAFile)
{
    TempFolder folder;
    const std::string out = folder.file("out.bc");
    auto decodeText = [&](const std::string& text) { return cli({"decode", "-", "-o", out}, text); };

    std::vector<std::string> records = newPlanRecords();
    records[3] = kEmptyRecord + "F";
    expectFailure(decodeText(linesOf(records)), "Line 4 is not a memory record of 32 hex digits");
    records[3] = "FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFG";
    expectFailure(decodeText("\n" + linesOf(records)), "Line 5 is not a memory record of 32 hex digits");
    records[3] = " " + kEmptyRecord;
    expectFailure(decodeText(linesOf(records)), "Line 4 is not a memory record of 32 hex digits");

    records = newPlanRecords();
    records.pop_back();
    expectFailure(decodeText(linesOf(records)),
                  "Expected 17 memory records (channels 1 to 16, then the settings), found 16");
    records.push_back(kFirstItemsSettings);
    records.push_back(kFirstItemsSettings);
    expectFailure(decodeText(linesOf(records)),
                  "Expected 17 memory records (channels 1 to 16, then the settings), found 18");
    expectFailure(decodeText(""), "Expected 17 memory records (channels 1 to 16, then the settings), found 0");

    // A letter among the RX digits cannot be read as a frequency.
    records = newPlanRecords();
    records[5] = "0050A214FFFFFFFFFFFFFFFFFFFFFFFF";
    expectFailure(decodeText(linesOf(records)), "'14A.25000' is not a valid floating point value");

    expectFailure(cli({"decode", folder.file("absent.txt"), "-o", out}),
                  "Cannot open file \"" + folder.file("absent.txt") + "\". No such file or directory");
    EXPECT_FALSE(std::filesystem::exists(out));

    const std::string noFolder = folder.file("none/out.bc");
    expectFailure(cli({"decode", "-", "-o", noFolder}, linesOf(newPlanRecords())),
                  "Cannot create file \"" + noFolder + "\". No such file or directory");
}

TEST(CliHostileInput, OutputThatDoesNotGetOutIsAFailure)
{
    TempFolder folder;
    const std::string plan = folder.file("plan.bc");
    saveChannelFile(plan, samplePlan());
    // The shell's redirection onto a device that is always full.
    const ProgramResult full =
        zk::test::runProgram("/bin/sh", {"-c", "exec \"$0\" encode \"$1\" > /dev/full", ZK_CLI_PROGRAM, plan});
    EXPECT_EQ(full.exitStatus, 1);
    EXPECT_EQ(full.err, "zk-h41-cli: cannot write the output: No space left on device\n");

    // '-' is standard output; a pipe given by name is no place for a file.
    const std::string records = linesOf(newPlanRecords());
    const ProgramResult toStdout = cli({"decode", "-", "-o", "-"}, records);
    EXPECT_EQ(toStdout.exitStatus, 0) << toStdout.err;
    EXPECT_EQ(toStdout.out, writeChannelText(ChannelTable()));
    // A plan written to '-' that cannot be written is reported once.
    const ProgramResult planToFull = zk::test::runProgram(
        "/bin/sh", {"-c", "exec \"$0\" decode - -o - > /dev/full", ZK_CLI_PROGRAM}, records);
    EXPECT_EQ(planToFull.exitStatus, 1);
    EXPECT_EQ(planToFull.err, "zk-h41-cli: cannot write the output: No space left on device\n");
    const std::string pipe = folder.file("pipe.bc");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    expectFailure(cli({"decode", "-", "-o", pipe}, records),
                  "Cannot create file \"" + pipe + "\". It is a pipe, not a file");
    expectFailure(cli({"show", pipe}), "Cannot open file \"" + pipe + "\". It is a pipe, not a file");
    expectFailure(cli({"show", "/dev/zero"}), "Cannot open file \"/dev/zero\". It is a device, not a file");
}

TEST(CliHostileInput, HandEditedCellsAreRefusedAndShownHarmlessly)
{
    TempFolder folder;
    ChannelTable plan;
    plan.setCell(ColRx, 1, "145.5");
    plan.setCell(ColTx, 2, "\x1b]0;owned\a");
    const std::string path = folder.file("edited.bc");
    saveChannelFile(path, plan);
    expectFailure(cli({"encode", path}), "Channel 1, RX Frequency: \"145.5\" cannot be stored in the radio");

    const ProgramResult shown = cli({"show", path});
    EXPECT_EQ(shown.exitStatus, 0);
    EXPECT_EQ(shown.out.find('\x1b'), std::string::npos);
    EXPECT_NE(shown.out.find("\\x1B]0;owned\\x07"), std::string::npos) << shown.out;
}
