#include "Codec.h"
#include "EventLoopWait.h"
#include "HexText.h"
#include "RadioLink.h"
#include "TransferEngine.h"

#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>

#include <array>
#include <vector>

using namespace zk;

namespace {

// A radio answering through the event loop, as received bytes would arrive.
class ScriptedRadio {
public:
    explicit ScriptedRadio(RadioLink*& link) : link_(link) { memory.fill(0xFF); }

    bool send(const std::uint8_t* bytes, std::uint16_t length)
    {
        wire.insert(wire.end(), bytes, bytes + length);
        std::vector<std::uint8_t> command(bytes, bytes + length);
        if (command.empty() || command[0] == 'P' || command[0] == 'E')
            return true;
        if (++commands > answerCommands)
            return true;
        const int address = command[1] * 256 + command[2];
        std::vector<std::uint8_t> reply;
        if (command[0] == 'R') {
            reply.assign(command.begin(), command.begin() + 4);
            reply.insert(reply.end(), memory.begin() + address, memory.begin() + address + 64);
        } else {
            std::copy(command.begin() + 4, command.end(), memory.begin() + address);
            reply.assign(ackBytes, 0x06);
        }
        QTimer::singleShot(20, [this, reply] { link_->Comm1ReceiveData(reply.data(), static_cast<std::uint16_t>(reply.size())); });
        return true;
    }

    std::array<std::uint8_t, 512> memory{};
    std::vector<std::uint8_t> wire;
    int commands = 0;
    int answerCommands = 1000;
    std::size_t ackBytes = 1;

private:
    RadioLink*& link_;
};

struct Fixture {
    RadioLink* linkPtr = nullptr;
    ScriptedRadio radio{linkPtr};
    bool ready = true;
    RadioLink link{[this](const std::uint8_t* b, std::uint16_t n) { return radio.send(b, n); },
                   [this] { return ready; }, pumpEventsFor};
    ChannelTable table;
    TransferEngine engine{link, table};
    std::vector<int> progress;
    Fixture() { linkPtr = &link; }
    TransferEngine::ProgressFunction recorder()
    {
        return [this](int k) { progress.push_back(k); };
    }
};

} // namespace

TEST(RadioLink, ReceivedBytesBecomeUppercaseHexPairsInArrivalOrder)
{
    RadioLink link([](const std::uint8_t*, std::uint16_t) { return true; }, [] { return true; }, [](int) {});
    const std::uint8_t first[] = {0x0A, 0xFF};
    const std::uint8_t second[] = {0x00};
    link.Comm1ReceiveData(first, 2);
    link.Comm1ReceiveData(second, 1);
    EXPECT_EQ(link.replyText(), "0AFF00");
}

TEST(RadioLink, BlockExchangeLooksOnlyAfterEachStepAndGivesUpAfterEleven)
{
    int waits = 0;
    std::vector<std::uint8_t> sent;
    RadioLink* self = nullptr;
    RadioLink link([&](const std::uint8_t* b, std::uint16_t n) { sent.assign(b, b + n); return true; },
                   [] { return true; },
                   [&](int ms) {
                       EXPECT_EQ(ms, 100);
                       // Two bytes arrive at the third step: one too many for an ack.
                       if (++waits == 3) {
                           const std::uint8_t two[] = {1, 2};
                           self->Comm1ReceiveData(two, 2);
                       }
                   });
    self = &link;
    EXPECT_FALSE(link.blockExchange("57012F10", 2));
    EXPECT_EQ(waits, 11);
    EXPECT_EQ(sent, (std::vector<std::uint8_t>{0x57, 0x01, 0x2F, 0x10}));
}

TEST(TransferEngine, FullReadFillsRowsAndSettingsAndEndsWith45)
{
    Fixture f;
    ChannelTable source;
    source.setCell(ColRx, 1, "146.25000");
    source.setCell(ColDecode, 1, "67.0HZ");
    source.setCell(ColPower, 1, "High");
    source.setCell(ColBandwidth, 1, "Wide");
    source.setCell(ColRx, 16, "450.00000");
    source.setSetting(4, 8);
    for (int row = 1; row <= 16; ++row) {
        const auto bytes = fromHexText(encodeChannelRecord(source, row));
        std::copy(bytes.begin(), bytes.end(), f.radio.memory.begin() + 0x10 + 16 * (row - 1));
    }
    const auto settings = fromHexText(encodeSettingsRecord(source));
    std::copy(settings.begin(), settings.end(), f.radio.memory.begin() + 0x12F);
    f.table.setCell(ColRx, 5, "150.00000"); // unprogrammed in the radio: emptied

    QElapsedTimer clock;
    clock.start();
    const TransferResult result = f.engine.read(f.recorder());
    EXPECT_GE(clock.elapsed(), 1000);
    EXPECT_EQ(result.outcome, TransferOutcome::Succeeded);
    EXPECT_EQ(f.progress, (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(f.table.cell(ColRx, 1), "146.25000");
    EXPECT_EQ(f.table.cell(ColDecode, 1), "67.0HZ");
    EXPECT_EQ(f.table.cell(ColEncode, 1), "");
    EXPECT_EQ(f.table.cell(ColRx, 5), "");
    EXPECT_EQ(f.table.setting(4), 8);
    EXPECT_EQ(f.table.band(), 4); // the last row with a frequency decides
    const std::string wire = toHexText(f.radio.wire);
    EXPECT_EQ(wire, "50524F4752414D" "52001040" "52005040" "52009040" "5200D040" "52012F40" "45");
}

TEST(TransferEngine, ReadStoppingAfterTwoBlocksKeepsTheRest)
{
    Fixture f;
    f.radio.answerCommands = 2;
    f.table.setCell(ColRx, 9, "145.00000");
    f.table.setCell(ColRx, 1, "145.00000");
    f.table.setSetting(0, 2);
    const TransferResult result = f.engine.read(f.recorder());
    EXPECT_EQ(result.outcome, TransferOutcome::Failed);
    EXPECT_EQ(f.progress, (std::vector<int>{1, 2}));
    EXPECT_EQ(f.table.cell(ColRx, 1), "");          // decoded from all-F memory
    EXPECT_EQ(f.table.cell(ColRx, 9), "145.00000"); // never reached
    EXPECT_EQ(f.table.setting(0), 2);
    const std::string wire = toHexText(f.radio.wire);
    EXPECT_EQ(wire, "50524F4752414D" "52001040" "52005040" "52009040"); // no 45
}

TEST(TransferEngine, ReadWithANonDecimalRxDigitStopsWithTheError)
{
    Fixture f;
    f.radio.memory[0x10 + 16 * 5 + 1] = 0xA0; // channel 6, RX digits
    f.radio.memory[0x10 + 16 * 5 + 0] = 0x00;
    f.radio.memory[0x10 + 16 * 5 + 2] = 0x14;
    f.radio.memory[0x10 + 16 * 5 + 3] = 0x46;
    const TransferResult result = f.engine.read(f.recorder());
    EXPECT_EQ(result.outcome, TransferOutcome::Stopped);
    EXPECT_EQ(result.error, "'461.4A000' is not a valid floating point value");
    EXPECT_EQ(f.progress, (std::vector<int>{1, 2}));
    EXPECT_EQ(f.table.cell(ColRx, 6), "461.4A000");
    EXPECT_EQ(toHexText(f.radio.wire).size(), (7u + 4 * 2) * 2); // nothing after block 2
}

TEST(TransferEngine, PortNotReadySendsNothing)
{
    Fixture f;
    f.ready = false;
    EXPECT_EQ(f.engine.read(f.recorder()).outcome, TransferOutcome::PortNotReady);
    EXPECT_EQ(f.engine.write(f.recorder()).outcome, TransferOutcome::PortNotReady);
    EXPECT_TRUE(f.radio.wire.empty());
}

TEST(TransferEngine, WriteSendsEveryBlockAsEncodedAndASecondPressIsIgnored)
{
    Fixture f;
    f.table.setCell(ColRx, 2, "145.00000");
    f.table.setCell(ColDecode, 2, "D023N");
    f.table.setCell(ColPower, 2, "Low");
    f.table.setCell(ColBandwidth, 2, "Narrow");
    TransferResult nested{};
    bool pressedAgain = false;
    const TransferResult result = f.engine.write([&](int k) {
        f.progress.push_back(k);
        if (!pressedAgain) { // a second press while the first write runs
            pressedAgain = true;
            nested = f.engine.read(nullptr);
        }
        if (k == 1) // an edit before block 4 is built still reaches the radio
            f.table.setCell(ColRx, 16, "146.00000");
    });
    EXPECT_EQ(nested.outcome, TransferOutcome::Busy);
    EXPECT_EQ(result.outcome, TransferOutcome::Succeeded);
    EXPECT_EQ(f.progress, (std::vector<int>{1, 2, 3, 4, 5}));
    std::string expected = "50524F4752414D";
    for (int k = 0; k < 4; ++k) {
        expected += "57" + std::string(kBlockAddressTable.substr(4 * k, 4)) + "40";
        for (int i = 1; i <= 4; ++i)
            expected += encodeChannelRecord(f.table, 4 * k + i);
    }
    expected += "57012F10" + encodeSettingsRecord(f.table) + "45";
    EXPECT_EQ(toHexText(f.radio.wire), expected);
    EXPECT_EQ(f.radio.memory[0x10 + 16 * 15 + 3], 0x14);
}

TEST(TransferEngine, WriteRefusesAnUnencodableTableBeforeSendingAnything)
{
    Fixture f;
    f.table.setCell(ColRx, 3, "145.00000");
    f.table.setCell(ColEncode, 3, "88.5");
    const TransferResult result = f.engine.write(f.recorder());
    EXPECT_EQ(result.outcome, TransferOutcome::Stopped);
    EXPECT_FALSE(result.sentAnything);
    EXPECT_EQ(result.error, "Channel 3, QT/DQT Enc: \"88.5\" cannot be stored in the radio");
    EXPECT_TRUE(f.radio.wire.empty());
}

TEST(TransferEngine, TwoByteAcknowledgementFailsTheWrite)
{
    Fixture f;
    f.radio.ackBytes = 2;
    const TransferResult result = f.engine.write(f.recorder());
    EXPECT_EQ(result.outcome, TransferOutcome::Failed);
    EXPECT_TRUE(f.progress.empty());
    EXPECT_EQ(f.radio.wire.back(), 0xFF); // last byte of block 0; no 45 followed
}
