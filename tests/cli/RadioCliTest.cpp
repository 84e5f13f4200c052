// read and write through the built zk-h41-cli against the virtual radio,
// which runs in this process on a pseudo-terminal at 9600 baud: the program
// opens the terminal side as its serial port, exactly as it would a cable.
#include "CliHarness.h"
#include "ChannelFile.h"
#include "Codec.h"
#include "HexText.h"
#include "OpenFailure.h"
#include "RadioMemory.h"
#include "RunProgram.h"
#include "TComm.h"
#include "TempFolder.h"
#include "VirtualRadio.h"
#include "WaitUntil.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include <cerrno>
#include <signal.h>

using namespace zk;
using zk::test::cli;
using zk::test::channelAddress;
using zk::test::kSettingsAddress;
using zk::test::loadPlanIntoRadio;
using zk::test::namesIn;
using zk::test::sampleRadioPlan;
using zk::test::ProgramResult;
using zk::test::readBytes;
using zk::test::TempFolder;
using zk::test::writeBytes;

namespace {

const std::string kHandshake = "50524F4752414D";
const std::string kAllBlocks = "block 1/5\nblock 2/5\nblock 3/5\nblock 4/5\nblock 5/5\n";
constexpr std::size_t kHandshakeBytes = 7;
constexpr std::size_t kReadCommandBytes = 4;

std::string address(int block)
{
    return std::string(kBlockAddressTable.substr(static_cast<std::size_t>(4 * block), 4));
}

std::string readCommands(int blocks)
{
    std::string wire;
    for (int k = 0; k < blocks; ++k)
        wire += "52" + address(k) + "40";
    return wire;
}

// The radio's memory as `encode` prints a plan: 16 channel records, then
// the settings record, one per line.
std::string recordsInRadio(const VirtualRadio& radio)
{
    std::string lines;
    for (int row = 1; row <= kChannels; ++row)
        lines += toHexText(radio.readMemory(channelAddress(row), 16)) + '\n';
    return lines + toHexText(radio.readMemory(kSettingsAddress, 16)) + '\n';
}

// Sends a signal to the program once the radio has taken a number of bytes,
// so it arrives while a transfer is waiting for a reply.
class SignalWhenReceived {
public:
    SignalWhenReceived(const VirtualRadio& radio, std::size_t bytes, int signalNumber)
        : thread_([this, &radio, bytes, signalNumber] {
              const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
              while (!done_ && std::chrono::steady_clock::now() < limit) {
                  if (pid_ != 0 && radio.received().size() >= bytes) {
                      sent_ = ::kill(pid_, signalNumber) == 0;
                      return;
                  }
                  std::this_thread::sleep_for(std::chrono::milliseconds(1));
              }
          })
    {
    }
    ~SignalWhenReceived() { finish(); }
    SignalWhenReceived(const SignalWhenReceived&) = delete;
    SignalWhenReceived& operator=(const SignalWhenReceived&) = delete;

    std::function<void(pid_t)> started()
    {
        return [this](pid_t pid) { pid_ = pid; };
    }
    // Call once the program has ended; true when the signal went out.
    bool finish()
    {
        done_ = true;
        if (thread_.joinable())
            thread_.join();
        return sent_;
    }

private:
    std::atomic<pid_t> pid_{0};
    std::atomic<bool> done_{false};
    std::atomic<bool> sent_{false};
    std::thread thread_;
};

class RadioCli : public ::testing::Test {
protected:
    void SetUp() override { radio.start(); }
    void TearDown() override { radio.stop(); }

    std::string wire() const { return toHexText(radio.received()); }
    // The bytes reach the radio's thread a little after the program wrote
    // them; wait for as many as expected, then compare them all.
    void expectWire(const std::string& expected)
    {
        EXPECT_TRUE(test::waitUntil([&] { return wire().size() >= expected.size(); }));
        EXPECT_EQ(wire(), expected);
    }

    VirtualRadio radio;
    TempFolder folder;
};

} // namespace

TEST_F(RadioCli, FullReadWritesTheFileOfTheRadioMemory)
{
    loadPlanIntoRadio(radio, sampleRadioPlan());
    const std::string plan = folder.file("from-radio.bc");

    const ProgramResult r = cli({"read", "--port", radio.path(), "-o", plan});

    EXPECT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(r.out, "Read Success!\n");
    EXPECT_EQ(r.err, kAllBlocks);
    const ProgramResult encoded = cli({"encode", plan});
    ASSERT_EQ(encoded.exitStatus, 0) << encoded.err;
    EXPECT_EQ(encoded.out, recordsInRadio(radio));
    ChannelTable loaded;
    openChannelFile(plan, loaded);
    EXPECT_EQ(loaded.cell(ColChannel, 16), "16");
    EXPECT_EQ(loaded.cell(ColRx, 11), "438.51250");
    EXPECT_EQ(loaded.cell(ColRx, 2), ""); // unprogrammed in the radio
    expectWire(kHandshake + readCommands(5) + "45");
}

TEST_F(RadioCli, ReadFromARadioThatFallsSilentAfterTwoBlocksWritesNoFile)
{
    loadPlanIntoRadio(radio, sampleRadioPlan());
    RadioFaults faults;
    faults.silentAfter = 2;
    radio.setFaults(faults);
    const std::string plan = folder.file("plan.bc");
    const std::string failed = "block 1/5\nblock 2/5\nRead Error!\n";

    ProgramResult r = cli({"read", "--port", radio.path(), "-o", plan});
    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, failed);
    EXPECT_TRUE(namesIn(folder.path()).empty());
    expectWire(kHandshake + readCommands(3)); // no end byte

    const std::string before = writeChannelText(ChannelTable());
    writeBytes(plan, before);
    radio.clearLog();
    r = cli({"read", "--port", radio.path(), "-o", plan});
    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_EQ(r.err, failed);
    EXPECT_EQ(readBytes(plan), before);
    EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>{"plan.bc"});
}

TEST_F(RadioCli, InterruptedReadStopsWithoutSendingMore)
{
    RadioFaults faults;
    faults.silentAfter = 1; // the second block waits for a reply that never comes
    radio.setFaults(faults);
    const std::string plan = folder.file("plan.bc");
    SignalWhenReceived interrupt(radio, kHandshakeBytes + 2 * kReadCommandBytes, SIGINT);

    const ProgramResult r = cli({"read", "--port", radio.path(), "-o", plan}, interrupt.started());

    ASSERT_TRUE(interrupt.finish());
    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "block 1/5\nInterrupted\n");
    EXPECT_FALSE(std::filesystem::exists(plan));
    expectWire(kHandshake + readCommands(2));
}

TEST_F(RadioCli, FullWriteLeavesTheEncodedPlanInTheRadio)
{
    const std::string plan = folder.file("plan.bc");
    saveChannelFile(plan, sampleRadioPlan());
    const ProgramResult encoded = cli({"encode", plan});
    ASSERT_EQ(encoded.exitStatus, 0) << encoded.err;

    const ProgramResult r = cli({"write", "--port", radio.path(), plan});

    EXPECT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(r.out, "Write Success!\n");
    EXPECT_EQ(r.err, kAllBlocks);
    EXPECT_EQ(recordsInRadio(radio), encoded.out);

    std::string records = encoded.out;
    std::erase(records, '\n');
    std::string expected = kHandshake;
    for (int k = 0; k < 4; ++k)
        expected += "57" + address(k) + "40" + records.substr(static_cast<std::size_t>(128 * k), 128);
    expected += "57" + address(4) + "10" + records.substr(512, 32) + "45";
    expectWire(expected);
    ASSERT_FALSE(radio.received().empty());
    EXPECT_EQ(radio.received().back(), 0x45);
}

TEST_F(RadioCli, InterruptedWriteKeepsTheLaterBlocksOutOfTheRadio)
{
    const std::string plan = folder.file("plan.bc");
    saveChannelFile(plan, sampleRadioPlan());
    RadioFaults faults;
    faults.silentAfter = 1;
    radio.setFaults(faults);
    const std::size_t firstBlock = 68;
    SignalWhenReceived terminate(radio, kHandshakeBytes + 2 * firstBlock, SIGTERM);

    const ProgramResult r = cli({"write", "--port", radio.path(), plan}, terminate.started());

    ASSERT_TRUE(terminate.finish());
    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "block 1/5\nInterrupted\nWrite Error!\n");
    EXPECT_TRUE(test::waitUntil([&] { return radio.received().size() >= kHandshakeBytes + 2 * firstBlock; }));
    EXPECT_EQ(radio.received().size(), kHandshakeBytes + 2 * firstBlock);
    const ChannelTable written = sampleRadioPlan();
    EXPECT_EQ(toHexText(radio.readMemory(channelAddress(1), 16)), encodeChannelRecord(written, 1));
    // The second block was refused by the silent radio, the third never sent.
    EXPECT_EQ(toHexText(radio.readMemory(channelAddress(11), 16)), std::string(32, 'F'));
}

TEST_F(RadioCli, AnInterruptedCountHoldsTheBlockAcknowledgedAsTheStopCame)
{
    const std::string plan = folder.file("plan.bc");
    saveChannelFile(plan, sampleRadioPlan());
    // The second block has reached the radio, which takes and acknowledges it at once.
    SignalWhenReceived interrupt(radio, kHandshakeBytes + 2 * 68, SIGINT);

    const ProgramResult r = cli({"write", "--port", radio.path(), plan}, interrupt.started());

    ASSERT_TRUE(interrupt.finish());
    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_EQ(r.err, "block 1/5\nblock 2/5\nInterrupted\nWrite Error!\n");
    const ChannelTable written = sampleRadioPlan();
    EXPECT_EQ(toHexText(radio.readMemory(channelAddress(8), 16)), encodeChannelRecord(written, 8));
    EXPECT_EQ(radio.received().size(), kHandshakeBytes + 2 * 68) << "no third block";
}

TEST_F(RadioCli, UnencodableCellStopsTheWriteBeforeAnythingIsSent)
{
    ChannelTable bad = sampleRadioPlan();
    bad.setCell(ColRx, 9, "14x.00000");
    const std::string plan = folder.file("bad.bc");
    saveChannelFile(plan, bad);

    const ProgramResult r = cli({"write", "--port", radio.path(), plan});

    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "Channel 9, RX Frequency: \"14x.00000\" cannot be stored in the radio\n");
    EXPECT_TRUE(radio.received().empty());
    // The next transfer's handshake is the first thing the radio hears, so
    // nothing of the refused write was on its way either.
    const ProgramResult next = cli({"read", "--port", radio.path(), "-o", folder.file("next.bc")});
    EXPECT_EQ(next.exitStatus, 0) << next.err;
    expectWire(kHandshake + readCommands(5) + "45");
}

TEST_F(RadioCli, APortThatCannotBeOpenedIsExplained)
{
    const std::string absent = folder.file("ttyNONE");
    const std::string plan = folder.file("plan.bc");
    const std::string noDevice = "Error opening serial port\n" + describeOpenFailure(absent, ENOENT) + "\n";

    ProgramResult r = cli({"read", "--port", absent, "-o", plan});
    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, noDevice);
    EXPECT_FALSE(std::filesystem::exists(plan));

    saveChannelFile(plan, sampleRadioPlan());
    r = cli({"write", "--port", absent, plan});
    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_EQ(r.err, noDevice);

    // The radio's port held by another program (here: this test).
    TComm holder;
    holder.SetCommName(radio.path());
    holder.OpenPort();
    r = cli({"write", "--port", radio.path(), plan});
    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_EQ(r.err, "Error opening serial port\n" + describeOpenFailure(radio.path(), EBUSY) + "\n");
    holder.ClosePort();
    EXPECT_TRUE(radio.received().empty());
}

TEST_F(RadioCli, AHangUpStopsAReadLikeCtrlCAndAPlanCanGoToStandardOutput)
{
    loadPlanIntoRadio(radio, sampleRadioPlan());
    ProgramResult r = cli({"read", "--port", radio.path(), "-o", "-"});
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(r.err, kAllBlocks + "Read Success!\n");
    ChannelTable fromStdout;
    readChannelText(fromStdout, r.out);
    EXPECT_EQ(writeChannelText(fromStdout), r.out);
    EXPECT_EQ(fromStdout.cell(ColRx, 11), "438.51250");

    RadioFaults faults;
    faults.silentAfter = 1;
    radio.setFaults(faults);
    radio.clearLog();
    SignalWhenReceived hangUp(radio, kHandshakeBytes + 2 * kReadCommandBytes, SIGHUP);
    r = cli({"read", "--port", radio.path(), "-o", "-"}, hangUp.started());
    ASSERT_TRUE(hangUp.finish());
    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "block 1/5\nInterrupted\n");
    expectWire(kHandshake + readCommands(2));
}
