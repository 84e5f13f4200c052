// Read and write procedures through the real serial component against the
// virtual radio on a pseudo-terminal, checking the bytes on the wire.
#include "Codec.h"
#include "EngineOnRadio.h"
#include "EventLoopWait.h"
#include "HexText.h"
#include "PortConnection.h"
#include "RadioMemory.h"
#include "TComm.h"
#include "TransferEngine.h"
#include "VirtualRadio.h"
#include "WaitUntil.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

#include <pty.h>
#include <unistd.h>

using namespace zk;

namespace {

const std::string kHandshake = "50524F4752414D";

std::string readCommands(int blocks)
{
    std::string wire;
    for (int k = 0; k < blocks; ++k)
        wire += "52" + std::string(kBlockAddressTable.substr(static_cast<std::size_t>(4 * k), 4)) + "40";
    return wire;
}

ChannelTable samplePlan()
{
    ChannelTable t;
    const char* rows[][6] = {
        {"146.25000", "146.25000", "67.0HZ", "67.0HZ", "High", "Wide"},
        {"145.50000", "", "D023N", "", "Low", "Narrow"},
        {"438.51250", "430.51250", "OFF", "D754I", "High", "Narrow"},
    };
    t.setBand(1);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 6; ++c)
            t.setCell(c + 1, r + 1, rows[r][c]);
    t.setCell(ColRx, 16, "450.00000");
    t.setCell(ColDecode, 16, "OFF");
    t.setSetting(0, 2);
    t.setSetting(1, 4);
    t.setSetting(2, 5);
    t.setSetting(3, 1);
    t.setSetting(4, 2);
    return t;
}

using TransferEngineOnRadio = test::EngineOnRadio;

} // namespace

TEST_F(TransferEngineOnRadio, FullReadFillsEveryRowAndSettingAndSends45Last)
{
    const ChannelTable plan = samplePlan();
    test::loadPlanIntoRadio(radio, plan);
    table.setCell(ColRx, 10, "150.00000"); // unprogrammed in the radio: emptied
    table.setBand(3);

    const TransferResult result = engine.read(recorder());

    ASSERT_EQ(result.outcome, TransferOutcome::Succeeded);
    EXPECT_EQ(progress, (std::vector<int>{1, 2, 3, 4, 5}));
    for (int r = 1; r <= kChannels; ++r)
        for (int c = 1; c < kColumns; ++c) {
            const std::string expected =
                (c == ColEncode && r == 16) ? "" : plan.cell(c, r); // no TX: the encode tone reads empty
            EXPECT_EQ(table.cell(c, r), expected) << "row " << r << " column " << c;
        }
    for (int s = 0; s < kSettings; ++s)
        EXPECT_EQ(table.setting(s), plan.setting(s));
    EXPECT_EQ(table.band(), 4); // row 16 at 450 MHz is the last with a frequency
    const std::string expected = kHandshake + readCommands(5) + "45";
    EXPECT_TRUE(test::waitUntil([&] { return wire().size() >= expected.size(); }));
    EXPECT_EQ(wire(), expected);
}

TEST_F(TransferEngineOnRadio, ReadFromARadioThatFallsSilentAfterTwoBlocks)
{
    test::loadPlanIntoRadio(radio, samplePlan());
    RadioFaults faults;
    faults.silentAfter = 2;
    radio.setFaults(faults);
    table.setCell(ColRx, 9, "147.00000");
    table.setCell(ColRx, 1, "140.00000");
    table.setSetting(0, 1);

    const TransferResult result = engine.read(recorder());

    EXPECT_EQ(result.outcome, TransferOutcome::Failed);
    EXPECT_EQ(progress, (std::vector<int>{1, 2}));
    EXPECT_EQ(table.cell(ColRx, 1), "146.25000");
    EXPECT_EQ(table.cell(ColRx, 9), "147.00000");
    EXPECT_EQ(table.setting(0), 1);
    EXPECT_EQ(wire(), kHandshake + readCommands(3)); // no end byte
}

TEST_F(TransferEngineOnRadio, RepliesInTwoPiecesAreGathered)
{
    test::loadPlanIntoRadio(radio, samplePlan());
    RadioFaults faults;
    faults.splitBlock = RadioFaults::kEveryBlock;
    faults.splitPauseMs = 250;
    radio.setFaults(faults);
    EXPECT_EQ(engine.read(recorder()).outcome, TransferOutcome::Succeeded);
    EXPECT_EQ(table.cell(ColRx, 3), "438.51250");
}

TEST_F(TransferEngineOnRadio, OneByteTooManyOrTooFewFailsTheBlock)
{
    RadioFaults faults;
    faults.extraByteBlock = 1;
    radio.setFaults(faults);
    EXPECT_EQ(engine.read(recorder()).outcome, TransferOutcome::Failed);
    EXPECT_EQ(progress, (std::vector<int>{1}));
    EXPECT_EQ(wire(), kHandshake + readCommands(2));

    faults = RadioFaults();
    faults.missingByteBlock = 0;
    radio.setFaults(faults);
    radio.clearLog();
    progress.clear();
    EXPECT_EQ(engine.read(recorder()).outcome, TransferOutcome::Failed);
    EXPECT_TRUE(progress.empty());
}

TEST_F(TransferEngineOnRadio, AnAnswerLaterThanTheWaitFails)
{
    RadioFaults faults;
    faults.delayBlock = 0;
    faults.delayMs = 1500;
    radio.setFaults(faults);
    EXPECT_EQ(engine.write(recorder()).outcome, TransferOutcome::Failed);
    EXPECT_TRUE(progress.empty());
}

TEST_F(TransferEngineOnRadio, NonDecimalRxDigitStopsTheReadWithTheError)
{
    test::loadPlanIntoRadio(radio, samplePlan());
    RadioFaults faults;
    faults.badDigitChannel = 6;
    radio.setFaults(faults);

    const TransferResult result = engine.read(recorder());

    EXPECT_EQ(result.outcome, TransferOutcome::Stopped);
    EXPECT_NE(result.error.find("is not a valid floating point value"), std::string::npos);
    EXPECT_EQ(progress, (std::vector<int>{1, 2}));
    EXPECT_EQ(table.cell(ColRx, 1), "146.25000");
    EXPECT_EQ(wire(), kHandshake + readCommands(2)); // nothing after the failing block
}

TEST_F(TransferEngineOnRadio, FullWriteLeavesTheEncodedRecordsInTheRadio)
{
    table = samplePlan();

    const TransferResult result = engine.write(recorder());

    ASSERT_EQ(result.outcome, TransferOutcome::Succeeded);
    EXPECT_EQ(progress, (std::vector<int>{1, 2, 3, 4, 5}));
    std::string expectedWire = kHandshake;
    std::string channels;
    for (int row = 1; row <= kChannels; ++row)
        channels += encodeChannelRecord(table, row);
    for (int k = 0; k < 4; ++k)
        expectedWire += "57" + std::string(kBlockAddressTable.substr(static_cast<std::size_t>(4 * k), 4)) + "40" +
                        channels.substr(static_cast<std::size_t>(128 * k), 128);
    expectedWire += "57012F10" + encodeSettingsRecord(table) + "45";
    EXPECT_TRUE(test::waitUntil([&] { return wire().size() >= expectedWire.size(); }));
    EXPECT_EQ(wire(), expectedWire);
    EXPECT_EQ(toHexText(radio.readMemory(0x10, 256)), channels);
    EXPECT_EQ(toHexText(radio.readMemory(0x12F, 16)), encodeSettingsRecord(table));
}

TEST_F(TransferEngineOnRadio, TwoByteAcknowledgementFailsTheWrite)
{
    RadioFaults faults;
    faults.doubleAckBlock = 2;
    radio.setFaults(faults);
    EXPECT_EQ(engine.write(recorder()).outcome, TransferOutcome::Failed);
    EXPECT_EQ(progress, (std::vector<int>{1, 2}));
    EXPECT_NE(wire().substr(wire().size() - 2), "45");
}

TEST_F(TransferEngineOnRadio, ClosedPortSendsNothing)
{
    comm.ClosePort();
    EXPECT_EQ(engine.read(recorder()).outcome, TransferOutcome::PortNotReady);
    EXPECT_EQ(engine.write(recorder()).outcome, TransferOutcome::PortNotReady);
    pumpEventsFor(200);
    EXPECT_TRUE(radio.received().empty());
}

// A port with nothing behind it: each transfer gives up after the
// handshake, one command and eleven looks at the reply.
TEST(TransferEngineWithoutRadio, ReadAndWriteFailAfterTheWaits)
{
    int master = -1;
    int slave = -1;
    char name[256] = {};
    ASSERT_EQ(openpty(&master, &slave, name, nullptr, nullptr), 0);
    TComm comm;
    comm.SetCommName(name);
    comm.OpenPort();
    switchOffSoftwareFlowControl(comm);
    RadioLink link{sendThrough(comm), [&] { return comm.IsOpen(); }, pumpEventsFor};
    receiveInto(comm, link);
    ChannelTable table;
    TransferEngine engine(link, table);

    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(engine.read(nullptr).outcome, TransferOutcome::Failed);
    const qint64 readMs = clock.elapsed();
    EXPECT_GE(readMs, 500 + 1100);
    EXPECT_LT(readMs, 10000);
    EXPECT_EQ(engine.write(nullptr).outcome, TransferOutcome::Failed);

    std::vector<std::uint8_t> onLine(512);
    const ssize_t n = ::read(master, onLine.data(), onLine.size());
    ASSERT_GT(n, 0);
    onLine.resize(static_cast<std::size_t>(n));
    const std::string seen = toHexText(onLine);
    EXPECT_EQ(seen.substr(0, 22), kHandshake + "52001040");
    comm.ClosePort();
    ::close(slave);
    ::close(master);
}
