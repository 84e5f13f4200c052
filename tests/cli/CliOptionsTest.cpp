// The command-line tool's usage and options, run as a user runs it.
#include "ChannelFile.h"
#include "CliHarness.h"
#include "HexText.h"
#include "RadioMemory.h"
#include "TempFolder.h"
#include "VirtualRadio.h"

#include <gtest/gtest.h>

using namespace zk;
using zk::test::channelAddress;
using zk::test::cli;
using zk::test::expectUsageFailure;
using zk::test::kSettingsAddress;
using zk::test::linesOf;
using zk::test::newPlanRecords;
using zk::test::ProgramResult;
using zk::test::samplePlan;
using zk::test::readBytes;
using zk::test::TempFolder;
using zk::test::WorkingDirectory;

TEST(CliUsage, HelpForTheToolAndEachCommandGoesToStandardOutput)
{
    const ProgramResult tool = cli({"--help"});
    EXPECT_EQ(tool.exitStatus, 0);
    EXPECT_EQ(tool.err, "");
    for (const char* line : {"Usage: zk-h41-cli <command> [arguments]", "  show PLAN.bc ", "  encode PLAN.bc ",
                             "  decode RECORDS.txt -o PLAN.bc ", "  ports ", "  read --port PATH -o PLAN.bc ",
                             "  write --port PATH PLAN.bc "})
        EXPECT_NE(tool.out.find(line), std::string::npos) << line;
    for (const std::string command : {"show", "encode", "decode", "ports", "read", "write", "doctor"}) {
        const ProgramResult r = cli({command, "--help"});
        EXPECT_EQ(r.exitStatus, 0);
        const std::string head = "Usage: zk-h41-cli " + command;
        EXPECT_EQ(r.out.rfind(head, 0), 0u) << r.out;
        EXPECT_TRUE(r.out.size() > head.size() && (r.out[head.size()] == ' ' || r.out[head.size()] == '\n')) << r.out;
    }
}

TEST(CliUsage, WrongUsageExitsWithTwo)
{
    expectUsageFailure(cli({}), "missing command");
    expectUsageFailure(cli({"print", "x.bc"}), "unknown command 'print'");
    expectUsageFailure(cli({"show"}), "missing channel file");
    expectUsageFailure(cli({"show", "a.bc", "b.bc"}), "unexpected argument 'b.bc'");
    expectUsageFailure(cli({"encode", "--verbose", "a.bc"}), "unknown option '--verbose'");
    expectUsageFailure(cli({"decode", "records.txt"}), "missing '-o PLAN.bc'");
    expectUsageFailure(cli({"decode", "records.txt", "-o"}), "option '-o' needs a file name");
    expectUsageFailure(cli({"decode", "-o", "plan.bc"}), "missing records file (or '-' for standard input)");
    expectUsageFailure(cli({"ports", "/dev/ttyS0"}), "unexpected argument '/dev/ttyS0'");
    expectUsageFailure(cli({"ports", "--all"}), "unknown option '--all'");
    expectUsageFailure(cli({"read", "-o", "plan.bc"}), "missing '--port PATH'");
    expectUsageFailure(cli({"read", "--port"}), "option '--port' needs a device path");
    expectUsageFailure(cli({"read", "--port", "", "-o", "plan.bc"}), "option '--port' needs a device path");
    expectUsageFailure(cli({"read", "--port", "/dev/ttyS0"}), "missing '-o PLAN.bc'");
    expectUsageFailure(cli({"read", "--port", "/dev/ttyS0", "-o"}), "option '-o' needs a file name");
    expectUsageFailure(cli({"read", "--port", "/dev/ttyS0", "-o", "a.bc", "b.bc"}), "unexpected argument 'b.bc'");
    expectUsageFailure(cli({"read", "--baud", "9600"}), "unknown option '--baud'");
    expectUsageFailure(cli({"write", "plan.bc"}), "missing '--port PATH'");
    expectUsageFailure(cli({"write", "--port", "/dev/ttyS0"}), "missing channel file");
    expectUsageFailure(cli({"write", "--port", "/dev/ttyS0", "a.bc", "b.bc"}), "unexpected argument 'b.bc'");
    expectUsageFailure(cli({"write", "--port", "/dev/ttyS0", "-o", "a.bc"}), "unknown option '-o'");
}

TEST(CliOptions, AValueFollowsAfterAnEqualsSignAsAfterASpace)
{
    TempFolder folder;
    saveChannelFile(folder.file("new.bc"), ChannelTable());
    // A name that is not UTF-8 is used byte for byte.
    const std::string decoded = folder.file("d\xE9" "cod\xE9.bc");
    const ProgramResult r = cli({"decode", "-", "-o=" + decoded}, linesOf(newPlanRecords()));
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(readBytes(decoded), readBytes(folder.file("new.bc")));
    const ProgramResult csv = cli({"export", folder.file("new.bc"), "-o=-"});
    EXPECT_EQ(csv.exitStatus, 0) << csv.err;
    EXPECT_EQ(csv.out.rfind("Location,Name,Frequency,", 0), 0u) << csv.out;

    // The radio commands alike, through the virtual radio.
    VirtualRadio radio;
    radio.start();
    const std::string plan = folder.file("plan.bc");
    saveChannelFile(plan, samplePlan());
    const ProgramResult written = cli({"write", "--port=" + radio.path(), "--verify", plan});
    EXPECT_EQ(written.exitStatus, 0) << written.err;
    EXPECT_EQ(written.out, "Write Success!\nRadio matches " + plan + "\n");
    EXPECT_EQ(toHexText(radio.readMemory(channelAddress(2), 16)), "00005514000055141320FFFFFF30FFFF");
    EXPECT_EQ(toHexText(radio.readMemory(kSettingsAddress, 16)), "0228FFFFFF09FFFFFFFF0109FFFFFFFF");

    const std::string back = folder.file("back.bc");
    const std::string trace = folder.file("read.trace");
    const ProgramResult read = cli({"read", "--port", radio.path(), "-o=" + back, "--trace=" + trace});
    ASSERT_EQ(read.exitStatus, 0) << read.err;
    EXPECT_EQ(read.out, "Read Success!\n");
    ChannelTable loaded;
    openChannelFile(back, loaded);
    EXPECT_EQ(loaded.cell(ColRx, 15), "461.42500");
    EXPECT_EQ(loaded.cell(ColDecode, 2), "D023N");
    EXPECT_NE(readBytes(trace), "");
}

TEST(CliOptions, WrongOptionsFailWithTheCommandsUsage)
{
    const auto expectUsage = [](const ProgramResult& r, const std::string& message, const std::string& usage) {
        expectUsageFailure(r, message);
        EXPECT_EQ(r.err.rfind("zk-h41-cli: " + message + "\n\n" + usage + "\n", 0), 0u) << r.err;
    };
    const std::string doctor = "Usage: zk-h41-cli doctor [--port PATH] [--probe] [--trace FILE]";
    expectUsage(cli({"doctor", "--trace"}), "option '--trace' needs a file name", doctor);
    expectUsage(cli({"doctor", "--port="}), "option '--port' needs a device path", doctor);
    expectUsage(cli({"doctor", "--probe=yes"}), "Unexpected value after '--probe'.", doctor);
    expectUsage(cli({"export", "plan.bc", "-o="}), "option '-o' needs a file name",
                "Usage: zk-h41-cli export PLAN.bc -o FILE.csv");
    expectUsage(cli({"import", "list.csv", "--mode=fm", "-o", "p.bc"}), "unknown option '--mode=fm'",
                "Usage: zk-h41-cli import FILE.csv -o PLAN.bc");
    expectUsage(cli({"show", "-x", "a.bc"}), "unknown option '-x'", "Usage: zk-h41-cli show PLAN.bc");

    const std::string read = "Usage: zk-h41-cli read --port PATH -o PLAN.bc [--trace FILE]";
    expectUsage(cli({"read", "--port=a", "--port=b", "--trace=t", "-o=d"}), "--trace takes a single port", read);
    expectUsage(cli({"read", "--port=a", "-o="}), "option '-o' needs a file name", read);
    expectUsage(cli({"read", "--all-ports=yes", "-o", "d"}), "Unexpected value after '--all-ports'.", read);
    expectUsage(cli({"backup", "--port=a"}), "missing '-o FILE.img'",
                "Usage: zk-h41-cli backup --port PATH -o FILE.img [--trace FILE]");
    const std::string write =
        "Usage: zk-h41-cli write --port PATH PLAN.bc [--verify] [--backup DIR] [--settle MS]";
    expectUsage(cli({"write", "--port=a", "--backup=", "p.bc"}), "option '--backup' needs a folder", write);
    expectUsage(cli({"write", "--port=a", "p.bc", "--backup"}), "option '--backup' needs a folder", write);
    expectUsage(cli({"write", "--port=a", "--verify=no", "p.bc"}), "Unexpected value after '--verify'.", write);
    expectUsage(cli({"verify", "--port=a", "--backup=b", "p.bc"}), "unknown option '--backup=b'",
                "Usage: zk-h41-cli verify --port PATH PLAN.bc [--trace FILE]");
    const std::string station =
        "Usage: zk-h41-cli station PLAN.bc [--no-verify] [--backup DIR] [--ports PATH,PATH...]";
    expectUsage(cli({"station", "--settle=x", "p.bc"}), "option '--settle' needs milliseconds (0 to 999999)", station);
    expectUsage(cli({"station", "p.bc", "--settle"}), "option '--settle' needs milliseconds", station);
    expectUsage(cli({"station", "--ports=,", "p.bc"}), "option '--ports' needs a list of device paths", station);
    expectUsage(cli({"station", "--port=a", "p.bc"}), "unknown option '--port=a'", station);
}

TEST(CliOptions, ALoneDashIsStandardInputAndTwoDashesEndTheOptions)
{
    TempFolder folder;
    saveChannelFile(folder.file("-new.bc"), ChannelTable());
    WorkingDirectory here(folder.path());
    const ProgramResult r = cli({"encode", "--", "-new.bc"});
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(r.out, linesOf(newPlanRecords()));
    expectUsageFailure(cli({"encode", "-new.bc"}), "unknown option '-new.bc'");

    const ProgramResult decoded = cli({"decode", "-o", "-", "-"}, linesOf(newPlanRecords()));
    EXPECT_EQ(decoded.exitStatus, 0) << decoded.err;
    EXPECT_EQ(decoded.out, readBytes(folder.file("-new.bc")));
}
