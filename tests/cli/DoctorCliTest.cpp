// doctor --probe and --trace through the built zk-h41-cli, against the
// virtual radio on a pseudo-terminal (and a bare one where nothing answers).
#include "CliHarness.h"
#include "HexText.h"
#include "PtyPair.h"
#include "RadioMemory.h"
#include "RunProgram.h"
#include "TempFolder.h"
#include "VirtualRadio.h"
#include "WaitUntil.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

using namespace zk;
using zk::test::cli;
using zk::test::ProgramResult;
using zk::test::TempFolder;

namespace {

// The probe's verdict: the report's last line and its remedy.
std::string verdict(const ProgramResult& r)
{
    const auto at = r.out.rfind("\nfail  ") != std::string::npos ? r.out.rfind("\nfail  ") : r.out.rfind("\nok    ");
    return at == std::string::npos ? r.out : r.out.substr(at + 1);
}

class DoctorProbe : public ::testing::Test {
protected:
    void SetUp() override { radio.start(); }
    void TearDown() override { radio.stop(); }

    ProgramResult probe() { return cli({"doctor", "--port", radio.path(), "--probe"}); }

    VirtualRadio radio{VirtualRadioOptions{9600, false, {}, {}}};
};

} // namespace

TEST_F(DoctorProbe, ARadioThatAnswersPassesAndItsSessionIsEnded)
{
    const ProgramResult r = probe();
    EXPECT_EQ(r.exitStatus, 0) << r.out << r.err;
    EXPECT_EQ(r.out.find("fail"), std::string::npos) << r.out;
    EXPECT_EQ(verdict(r), "ok    the radio on " + radio.path() + " answered the handshake and the first read command\n");
    EXPECT_TRUE(test::waitUntil([&] { return radio.sessionsEnded() == 1; })) << "the end byte closes the session";
    EXPECT_EQ(toHexText(radio.received()), "50524F4752414D" "52001040" "45");
}

TEST_F(DoctorProbe, AnEchoingCableFails)
{
    RadioFaults faults;
    faults.echo = true;
    radio.setFaults(faults);
    const ProgramResult r = probe();
    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_EQ(verdict(r), "fail  the cable on " + radio.path() +
                              " echoes every byte sent, so no transfer can succeed\n"
                              "      fix: use a programming cable without echo for this radio\n");
}

TEST_F(DoctorProbe, AShortReplyIsAnAnswerInPart)
{
    RadioFaults faults;
    faults.missingByteBlock = 0;
    radio.setFaults(faults);
    const ProgramResult r = probe();
    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_EQ(verdict(r), "fail  the radio on " + radio.path() +
                              " answered in part: 1 byte to the handshake, 67 of 68 to the read command\n"
                              "      fix: check the plugs of the cable, and that no other program reads the port\n");
}

TEST(DoctorCli, ASilentLineFailsAndWrongUsageIsRefused)
{
    PtyPair pty; // nothing answers at the far end
    ProgramResult r = cli({"doctor", "--port", pty.path(), "--probe"});
    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_EQ(verdict(r), "fail  the radio on " + pty.path() +
                              " stayed silent\n      fix: switch the radio on, check that the cable sits firmly in "
                              "it, and that this is the cable's port\n");

    r = cli({"doctor", "--probe"});
    EXPECT_EQ(r.exitStatus, 2);
    EXPECT_NE(r.err.find("option '--probe' needs '--port PATH'"), std::string::npos) << r.err;
    EXPECT_EQ(cli({"doctor", "--bogus"}).exitStatus, 2);
}

TEST_F(DoctorProbe, TheTraceOfAFullReadHoldsEveryByteAndEvent)
{
    test::loadPlanIntoRadio(radio, test::sampleRadioPlan());
    TempFolder folder;
    const std::string trace = folder.file("trace.txt");
    const ProgramResult r = cli({"read", "--port", radio.path(), "-o", folder.file("plan.bc"), "--trace", trace});
    ASSERT_EQ(r.exitStatus, 0) << r.err;

    std::ifstream in(trace);
    const std::regex shape(R"(^ *(\d+) ms  (open|close|sent|recv|note|hangup) *(.*)$)");
    std::vector<std::string> kinds;
    std::string sent;
    std::string received;
    long long last = 0;
    for (std::string line; std::getline(in, line);) {
        std::smatch m;
        ASSERT_TRUE(std::regex_match(line, m, shape)) << line;
        EXPECT_GE(std::stoll(m[1]), last) << line;
        last = std::stoll(m[1]);
        if (kinds.empty() || kinds.back() != m[2])
            kinds.push_back(m[2]);
        std::string hex = m[3].str().substr(0, 48);
        hex.erase(std::remove(hex.begin(), hex.end(), ' '), hex.end());
        (m[2] == "sent" ? sent : m[2] == "recv" ? received : hex) += hex;
    }
    EXPECT_EQ(kinds.front(), "open");
    EXPECT_EQ(kinds.back(), "close");
    EXPECT_EQ(std::count(kinds.begin(), kinds.end(), "note"), 0) << "no time-out in a good read";
    EXPECT_EQ(sent, "50524F4752414D" "52001040" "52005040" "52009040" "5200D040" "52012F40" "45");
    EXPECT_EQ(received, toHexText(radio.sent()));
    EXPECT_EQ(received.size(), 2u * (1 + 5 * 68));
}

TEST(DoctorCli, OnlyATerminalDeviceIsASerialLineAndALinkLoopIsNamed)
{
    const auto firstCheck = [](const std::string& port) {
        const ProgramResult r = cli({"doctor", "--port", port});
        EXPECT_EQ(r.exitStatus, 1) << port;
        return r.out.substr(0, r.out.find('\n'));
    };
    EXPECT_EQ(firstCheck("/dev/null"), "fail  /dev/null is a character device but not a serial line");
    EXPECT_EQ(firstCheck("/dev/zero"), "fail  /dev/zero is a character device but not a serial line");
    EXPECT_EQ(firstCheck("/dev/tty"), "fail  /dev/tty is a character device (the controlling terminal) but not a "
                                      "serial line");
    const TempFolder folder;
    std::ofstream(folder.file("plain")) << "x";
    EXPECT_EQ(firstCheck(folder.file("plain")), "fail  " + folder.file("plain") +
                                                    " is a regular file but not a serial line");
    std::filesystem::create_symlink(folder.file("b"), folder.file("a"));
    std::filesystem::create_symlink(folder.file("a"), folder.file("b"));
    EXPECT_EQ(firstCheck(folder.file("a")), "fail  " + folder.file("a") + " is a loop of symbolic links");

    PtyPair pty;
    const ProgramResult r = cli({"doctor", "--port", pty.path()});
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "ok    " + pty.path() + " exists and is a serial line");
}
