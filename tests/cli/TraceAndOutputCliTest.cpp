// Where the built zk-h41-cli's words and traces go, tried as an unlucky
// user would: a trace named like the command's own file or a FIFO nobody
// reads, a trace onto a full device, a reader that went away, and port
// names that are not text.
#include "CliHarness.h"
#include "ChannelFile.h"
#include "RadioImage.h"
#include "RadioMemory.h"
#include "RunProgram.h"
#include "TempFolder.h"
#include "VirtualRadio.h"
#include "WaitUntil.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace zk;
using zk::test::cli;
using zk::test::contains;
using zk::test::ProgramResult;
using zk::test::TempFolder;

namespace {

std::string fileText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Runs the program with its standard output a pipe whose reader is already
// gone, as after "| head -1"; standard error goes to errFile.
int runIntoAClosedPipe(const std::vector<std::string>& args, const std::string& errFile)
{
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0)
        return -1;
    ::close(pipeEnds[0]);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::vector<std::string> all{ZK_CLI_PROGRAM};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : all)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int failed = ::posix_spawn(&pid, ZK_CLI_PROGRAM, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeEnds[1]);
    if (failed != 0)
        return -1;
    // A program that went on waiting would never end: it is stopped, and fails.
    int status = 0;
    if (!test::waitUntil([&] { return ::waitpid(pid, &status, WNOHANG) == pid; }, 60000)) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &status, 0);
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class TraceAndOutput : public ::testing::Test {
protected:
    void SetUp() override
    {
        radio.start();
        saveChannelFile(planFile, plan);
        test::loadPlanIntoRadio(reference, plan);
    }
    void TearDown() override { radio.stop(); }

    const ChannelTable plan = test::sampleRadioPlan();
    VirtualRadio radio;
    VirtualRadio reference; // the plan as a complete write leaves it
    TempFolder folder;
    const std::string planFile = folder.file("plan.bc");
};

} // namespace

TEST_F(TraceAndOutput, ATraceOntoTheCommandsOwnFileIsRefusedBeforeAnythingIsSent)
{
    const std::string image = folder.file("mine.img");
    std::ofstream(image, std::ios::binary) << std::string(kImageSize, '\x11');
    ProgramResult r = cli({"restore", "--port", radio.path(), image, "--trace", image});
    EXPECT_EQ(r.exitStatus, 2);
    EXPECT_TRUE(contains(r.err, "zk-h41-cli: --trace '" + image + "' is the same file as '" + image + "'\n")) << r.err;
    EXPECT_EQ(fileText(image), std::string(kImageSize, '\x11'));

    // Under another name: a symbolic link, a hard link.
    const std::string planText = fileText(planFile);
    std::filesystem::create_symlink(planFile, folder.file("soft"));
    std::filesystem::create_hard_link(planFile, folder.file("hard"));
    for (const char* name : {"soft", "hard"}) {
        r = cli({"write", "--port", radio.path(), planFile, "--trace", folder.file(name)});
        EXPECT_EQ(r.exitStatus, 2) << name;
        EXPECT_EQ(fileText(planFile), planText) << name;
    }
    // An output that does not exist yet, named the same.
    r = cli({"read", "--port", radio.path(), "-o", folder.file("new.bc"), "--trace", folder.file("./new.bc")});
    EXPECT_EQ(r.exitStatus, 2);
    EXPECT_TRUE(radio.received().empty());
}

TEST_F(TraceAndOutput, AFifoNobodyReadsIsRefusedAndAFullTraceFailsAfterTheResult)
{
    const std::string fifo = folder.file("trace.fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    ProgramResult r = cli({"read", "--port", radio.path(), "-o", folder.file("a.bc"), "--trace", fifo});
    EXPECT_EQ(r.exitStatus, 2);
    EXPECT_TRUE(contains(r.err, "zk-h41-cli: --trace '" + fifo + "' is a FIFO that no program reads\n")) << r.err;
    EXPECT_TRUE(radio.received().empty());

    r = cli({"read", "--port", radio.path(), "-o", folder.file("b.bc"), "--trace", "/dev/full"});
    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_EQ(r.out, "Read Success!\n");
    EXPECT_TRUE(r.err.ends_with("block 5/5\nzk-h41-cli: cannot write the trace /dev/full: No space left on device\n"))
        << r.err;
}

TEST_F(TraceAndOutput, AReaderThatWentAwayLeavesEveryRadioWrittenAndTheStationEnds)
{
    const std::string err = folder.file("err.txt");
    EXPECT_EQ(runIntoAClosedPipe({"write", "--port", radio.path(), planFile}, err), 1);
    EXPECT_EQ(radio.memory(), reference.memory());
    EXPECT_TRUE(test::waitUntil([&] { return radio.sessionsEnded() == 1; })) << "the end byte went out";
    EXPECT_TRUE(fileText(err).ends_with("block 5/5\nzk-h41-cli: cannot write the output: Broken pipe\n"))
        << fileText(err);

    // The station finishes the radio under way, then ends by itself with the
    // summary on standard error.
    VirtualRadio blank;
    blank.start();
    const std::string link = folder.file("cable");
    std::filesystem::create_symlink(blank.path(), link);
    EXPECT_EQ(runIntoAClosedPipe({"station", planFile, "--ports", link, "--settle", "0"}, err), 1);
    EXPECT_EQ(blank.memory(), reference.memory());
    EXPECT_TRUE(test::waitUntil([&] { return blank.sessionsEnded() == 2; })) << "written, then read back";
    const std::string said = fileText(err);
    EXPECT_TRUE(contains(said, "Programmed 1, failed 0.\n")) << said;
    blank.stop();
}

TEST_F(TraceAndOutput, PortNamesThatAreNotTextStayValidJsonAndOneLineEach)
{
    test::loadPlanIntoRadio(radio, plan);
    const std::string odd = folder.file("radio\xff");
    const std::string broken = folder.file("two\nlines");
    std::filesystem::create_symlink(radio.path(), odd);
    std::filesystem::create_symlink(folder.file("nothing-there"), broken);

    ProgramResult r = cli({"verify", "--port", odd, "--port", broken, planFile, "--json"});
    EXPECT_EQ(r.exitStatus, 1);
    std::istringstream lines(r.out);
    std::vector<std::string> ports;
    for (std::string line; std::getline(lines, line);) {
        QJsonParseError error{};
        const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(line), &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << line;
        ports.push_back(document.object().value(QStringLiteral("port")).toString().toStdString());
    }
    EXPECT_EQ(ports, (std::vector<std::string>{folder.file("radio\\xFF"), folder.file("two\\nlines")}));

    r = cli({"verify", "--port", odd, "--port", broken, planFile});
    EXPECT_TRUE(r.out.starts_with(folder.file("radio\\xFF") + ": Radio matches " + planFile + "\n" +
                                  folder.file("two\\nlines") + ": "))
        << r.out;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 2);
}

TEST_F(TraceAndOutput, ABackupOntoStandardOutputIsRefused)
{
    const ProgramResult r = cli({"write", "--port", radio.path(), planFile, "--backup", "-"});
    EXPECT_EQ(r.exitStatus, 2);
    EXPECT_TRUE(contains(r.err, "zk-h41-cli: --backup needs a folder; '-' is not one\n")) << r.err;
    EXPECT_FALSE(std::filesystem::exists("-"));
    EXPECT_TRUE(radio.received().empty());
}
