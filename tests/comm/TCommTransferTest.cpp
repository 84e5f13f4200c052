// Bytes through a real pseudo-terminal: block boundaries by the read
// time-outs, send order and send-empty notices, stop with work pending,
// hang-ups, and notifications raised after ClosePort.
#include "CommEventLog.h"
#include "FakeSerialPlatform.h"
#include "PtyPair.h"
#include "TComm.h"

#include <gtest/gtest.h>

#include <chrono>
#include <numeric>
#include <sys/ioctl.h>
#include <thread>

using namespace std::chrono;

namespace {

std::vector<uint8_t> pattern(size_t n, uint8_t seed = 0)
{
    std::vector<uint8_t> v(n);
    for (size_t i = 0; i < n; ++i)
        v[i] = static_cast<uint8_t>(seed + i * 7 + i / 251);
    return v;
}

class TCommOnPty : public ::testing::Test {
protected:
    void SetUp() override
    {
        comm.SetCommName(pty.path());
        comm.OpenPort();
        // As the main window does: binary data, no XON/XOFF on the line.
        comm.SetInx_XonXoffFlow(false);
        comm.SetOutx_XonXoffFlow(false);
        // The send-empty notice of the fresh writer, so later counts start clean.
        ASSERT_TRUE(waitUntil([&] { return log.count('S') == 1; }));
    }
    void TearDown() override { comm.ClosePort(); }

    PtyPair pty;
    FakeSerialPlatform fake;
    TComm comm{fake};
    CommEventLog log{comm};
};

}  // namespace

TEST_F(TCommOnPty, OneByteIsOneEventAboutOneIntervalLater)
{
    const auto sent = steady_clock::now();
    pty.write({0x42});
    ASSERT_TRUE(waitUntil([&] { return log.count('D') == 1; }));
    const auto* e = log.of('D')[0];
    EXPECT_EQ(e->value, 1u);
    EXPECT_EQ(e->bytes, std::vector<uint8_t>{0x42});
    EXPECT_TRUE(log.terminatorOk) << "a 0 byte follows the data";
    const auto latency = duration_cast<milliseconds>(e->at - sent);
    EXPECT_GE(latency.count(), 100) << "the block ends only after a pause of one interval";
    EXPECT_LT(latency.count(), 2000);
    settle(150);
    EXPECT_EQ(log.count('D'), 1);
}

TEST_F(TCommOnPty, BurstIsCutIntoFullBlocksAndTheRest)
{
    const auto data = pattern(5000);
    pty.write(data);
    ASSERT_TRUE(waitUntil([&] { return log.received().size() == 5000; }));
    const auto blocks = log.of('D');
    ASSERT_EQ(blocks.size(), 3u);
    EXPECT_EQ(blocks[0]->value, 2048u);
    EXPECT_EQ(blocks[1]->value, 2048u);
    EXPECT_EQ(blocks[2]->value, 904u);
    EXPECT_EQ(log.received(), data);
    EXPECT_TRUE(log.terminatorOk);
}

TEST_F(TCommOnPty, PausesSplitBlocksAndTimeoutChangesApplyWhileOpen)
{
    pty.write({1, 2});
    ASSERT_TRUE(waitUntil([&] { return log.count('D') == 1; }));
    pty.write({3});
    ASSERT_TRUE(waitUntil([&] { return log.count('D') == 2; }));
    EXPECT_EQ(log.of('D')[0]->bytes, (std::vector<uint8_t>{1, 2}));
    EXPECT_EQ(log.of('D')[1]->bytes, std::vector<uint8_t>{3});

    comm.SetReadIntervalTimeout(400);
    const auto sent = steady_clock::now();
    pty.write({4});
    ASSERT_TRUE(waitUntil([&] { return log.count('D') == 3; }));
    EXPECT_GE(duration_cast<milliseconds>(log.of('D')[2]->at - sent).count(), 400);

    // Interval MAXDWORD, totals 0: each read returns with what is there.
    comm.SetReadIntervalTimeout(MAXDWORD);
    pty.write({5});
    ASSERT_TRUE(waitUntil([&] { return log.count('D') == 4; }));
    EXPECT_EQ(log.of('D')[3]->bytes, std::vector<uint8_t>{5});
}

TEST_F(TCommOnPty, NullBytesAreDroppedWhenAsked)
{
    comm.SetIgnoreNullChar(true);
    pty.write({0, 'a', 0, 0, 'b', 0});
    ASSERT_TRUE(waitUntil([&] { return log.count('D') == 1; }));
    EXPECT_EQ(log.received(), (std::vector<uint8_t>{'a', 'b'}));
}

TEST_F(TCommOnPty, SendDataKeepsCallOrderAndReportsTheEmptyQueue)
{
    uint8_t zero = 0;
    EXPECT_FALSE(comm.SendData(&zero, 0)) << "length 0 is refused";

    std::vector<size_t> bytesOutAtEmpty;
    std::vector<uint8_t> seen;
    comm.OnSendDataEmpty = [&](TComm*) {
        const auto now = pty.drain();
        seen.insert(seen.end(), now.begin(), now.end());
        bytesOutAtEmpty.push_back(seen.size());
    };
    for (uint8_t i = 0; i < 10; ++i)
        ASSERT_TRUE(comm.SendData(&i, 1));
    ASSERT_TRUE(waitUntil([&] { return !bytesOutAtEmpty.empty() && bytesOutAtEmpty.back() == 10; }));
    std::vector<uint8_t> expected(10);
    std::iota(expected.begin(), expected.end(), uint8_t{0});
    EXPECT_EQ(seen, expected);
    EXPECT_LE(bytesOutAtEmpty.size(), 10u);

    // The caller's buffer is free at once: a copy went to the queue.
    std::vector<uint8_t> block = pattern(300, 3);
    ASSERT_TRUE(comm.SendData(block.data(), static_cast<uint16_t>(block.size())));
    const auto expectedBlock = block;
    std::fill(block.begin(), block.end(), 0);
    ASSERT_TRUE(waitUntil([&] { return bytesOutAtEmpty.back() == 310; }));
    EXPECT_EQ(std::vector<uint8_t>(seen.begin() + 10, seen.end()), expectedBlock);
}

TEST_F(TCommOnPty, ShortWritesAreContinuedUntilEveryBlockIsOut)
{
    // A pseudo-terminal takes a command block whole; this driver takes five
    // bytes a call, so each block needs many writes.
    fake.writeChunk = 5;
    const auto first = pattern(68, 1);
    const auto second = pattern(301, 2);
    const int callsBefore = fake.writeCalls;
    ASSERT_TRUE(comm.SendData(first.data(), static_cast<uint16_t>(first.size())));
    ASSERT_TRUE(comm.SendData(second.data(), static_cast<uint16_t>(second.size())));
    auto expected = first;
    expected.insert(expected.end(), second.begin(), second.end());
    EXPECT_EQ(pty.read(expected.size()), expected);
    EXPECT_GE(fake.writeCalls - callsBefore, static_cast<int>(expected.size() / 5));
    EXPECT_EQ(log.count('H'), 0);
}

TEST_F(TCommOnPty, CloseWithBlocksQueuedDropsTheRest)
{
    // Nobody reads the far end, so the terminal's buffer fills and the
    // writer waits for room while most blocks are still queued.
    const auto block = pattern(60000, 1);
    const int blocks = 40;
    for (int i = 0; i < blocks; ++i)
        ASSERT_TRUE(comm.SendData(block.data(), static_cast<uint16_t>(block.size())));
    comm.ClosePort();
    EXPECT_EQ(fake.liveThreads, 0);
    const auto out = pty.drain();
    EXPECT_LT(out.size(), block.size() * blocks);
    // What went out is the start of the stream, in order.
    for (size_t i = 0; i < out.size(); ++i)
        ASSERT_EQ(out[i], block[i % block.size()]) << "at " << i;
}

TEST_F(TCommOnPty, NotificationsPostedBeforeCloseStillArrive)
{
    const uint8_t b = 'x';
    comm.SendData(&b, 1);
    pty.write({1, 2, 3, 4, 5});
    // Wait without running the event loop until both workers have posted.
    const auto limit = steady_clock::now() + seconds(5);
    while (comm.PendingNotifications() < 2 && steady_clock::now() < limit)
        std::this_thread::sleep_for(milliseconds(2));
    ASSERT_GE(comm.PendingNotifications(), 2u);
    comm.ClosePort();
    EXPECT_EQ(log.count('D'), 0);
    ASSERT_TRUE(waitUntil([&] { return log.received().size() == 5 && log.count('S') == 2; }));
    EXPECT_EQ(comm.PendingNotifications(), 0u);
}

TEST_F(TCommOnPty, UnassignedReceiveEventDropsTheData)
{
    comm.OnReceiveData = nullptr;
    pty.write({1, 2, 3});
    const auto limit = steady_clock::now() + seconds(5);
    while (comm.PendingNotifications() == 0 && steady_clock::now() < limit)
        std::this_thread::sleep_for(milliseconds(2));
    ASSERT_EQ(comm.PendingNotifications(), 1u);
    ASSERT_TRUE(waitUntil([&] { return comm.PendingNotifications() == 0; }));
    EXPECT_EQ(log.count('D'), 0);

    CommEventLog again(comm);
    pty.write({4});
    ASSERT_TRUE(waitUntil([&] { return again.count('D') == 1; }));
    EXPECT_EQ(again.received(), std::vector<uint8_t>{4});
}

TEST_F(TCommOnPty, FarEndClosingIsOneHangupAndTheReaderEnds)
{
    // A long interval keeps the block open; the hang-up must flush it.
    comm.SetReadIntervalTimeout(10000);
    pty.write({'a', 'b'});
    const auto limit = steady_clock::now() + seconds(5);
    while (fake.bytesRead < 2 && steady_clock::now() < limit)
        std::this_thread::sleep_for(milliseconds(1));
    ASSERT_EQ(fake.bytesRead, 2);
    pty.closeMaster();
    ASSERT_TRUE(waitUntil([&] { return log.count('H') == 1; }, 3000));
    // Bytes that came before the hang-up are delivered first.
    EXPECT_EQ(log.kinds(), "SDH");
    EXPECT_EQ(log.received(), (std::vector<uint8_t>{'a', 'b'}));
    // The reader has ended (no spinning); the idle writer is still there.
    ASSERT_TRUE(waitUntil([&] { return fake.liveThreads == 1; }));
    EXPECT_TRUE(comm.IsOpen());
    EXPECT_THROW(comm.OpenPort(), ECommsError);

    // The writer finds out at its next block, posts its own hang-up, ends,
    // and from then on the queue is refused.
    const uint8_t b = 1;
    EXPECT_TRUE(comm.SendData(&b, 1));
    ASSERT_TRUE(waitUntil([&] { return log.count('H') == 2 && fake.liveThreads == 0; }));
    EXPECT_FALSE(comm.SendData(&b, 1));
    settle(100);
    EXPECT_EQ(log.count('H'), 2) << "reported once per worker, not in a storm";
}

TEST_F(TCommOnPty, WriteErrorEndsTheWriterWithAHangup)
{
    fake.failWrite = EIO;
    const uint8_t b = 1;
    EXPECT_TRUE(comm.SendData(&b, 1));
    ASSERT_TRUE(waitUntil([&] { return log.count('H') == 1 && fake.liveThreads == 1; }));
    EXPECT_FALSE(comm.SendData(&b, 1));
    EXPECT_TRUE(comm.IsOpen());
    // Reading still works, and Close + Open brings a new writer.
    pty.write({5});
    ASSERT_TRUE(waitUntil([&] { return log.count('D') == 1; }));
    comm.ClosePort();
    fake.failWrite = 0;
    comm.OpenPort();
    EXPECT_TRUE(comm.SendData(&b, 1));
    EXPECT_EQ(pty.read(1), std::vector<uint8_t>{1});
}

TEST(TCommLineEvents, LineErrorsAndModemChangesBecomeEvents)
{
    PtyPair pty;
    FakeSerialPlatform fake;
    fake.scriptLineState = true;
    TComm comm(fake);
    CommEventLog log(comm);
    comm.SetCommName(pty.path());
    comm.OpenPort();
    // A first byte proves the reader has taken its starting counters.
    pty.write({'a'});
    ASSERT_TRUE(waitUntil([&] { return log.count('D') == 1; }));

    // A framing error and a break are counted by the driver; the reader
    // sees the counters when the damaged byte arrives.
    fake.frameErrors = 1;
    fake.breaks = 1;
    pty.write({0});
    ASSERT_TRUE(waitUntil([&] { return log.count('D') == 2; }));
    ASSERT_EQ(log.count('E'), 1);
    EXPECT_EQ(log.of('E')[0]->value, CE_FRAME | CE_BREAK);
    pty.write({'z'});
    ASSERT_TRUE(waitUntil([&] { return log.count('D') == 3; }));
    EXPECT_EQ(log.count('E'), 1) << "no new errors, no new event";
    EXPECT_EQ(log.received(), (std::vector<uint8_t>{'a', 0, 'z'}));
    EXPECT_EQ(log.kinds(), "SDEDD") << "the error is raised before the block it came with";

    fake.modemLines = TIOCM_CAR;
    pty.write({1});
    ASSERT_TRUE(waitUntil([&] { return log.count('M') == 1; }));
    EXPECT_EQ(log.of('M')[0]->value, MODEM_EVENT_RLSD);
    fake.modemLines = TIOCM_RNG;
    pty.write({2});
    ASSERT_TRUE(waitUntil([&] { return log.count('M') == 2; }));
    EXPECT_EQ(log.of('M')[1]->value, MODEM_EVENT_RLSD | MODEM_EVENT_RING);
    comm.ClosePort();
}
