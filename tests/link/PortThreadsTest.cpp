// Several radios written at the same time, each engine with its own serial
// component on a thread of its own: every radio ends up with the plan, a
// radio that falls silent fails alone, and the owner's thread keeps its
// event loop meanwhile.
#include "EventLoopWait.h"
#include "PortConnection.h"
#include "PortThreads.h"
#include "RadioMemory.h"
#include "TComm.h"
#include "TransferEngine.h"
#include "VirtualRadio.h"

#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>

#include <array>
#include <memory>

using namespace zk;

namespace {

// The whole write on the calling thread: port, link and engine are made here.
TransferOutcome writeThrough(const std::string& path, const ChannelTable& plan)
{
    TComm comm;
    comm.SetCommName(path);
    comm.OpenPort();
    switchOffSoftwareFlowControl(comm);
    RadioLink link{sendThrough(comm), [&comm] { return comm.IsOpen(); }, pumpEventsFor};
    receiveInto(comm, link);
    ChannelTable table = plan;
    TransferEngine engine(link, table);
    const TransferOutcome outcome = engine.write(nullptr).outcome;
    comm.DrainOutput();
    comm.ClosePort();
    return outcome;
}

TEST(PortThreads, WritesSeveralRadiosAtOnceAndAFailingOneFailsAlone)
{
    constexpr std::size_t kRadios = 4;
    constexpr std::size_t kSilent = 2; // answers the handshake and two blocks, then nothing
    std::array<std::unique_ptr<VirtualRadio>, kRadios> radios;
    for (std::size_t i = 0; i < kRadios; ++i) {
        radios[i] = std::make_unique<VirtualRadio>();
        if (i == kSilent) {
            RadioFaults faults;
            faults.silentAfter = 2;
            radios[i]->setFaults(faults);
        }
        radios[i]->start();
    }
    const ChannelTable plan = test::sampleRadioPlan();
    VirtualRadio reference;
    test::loadPlanIntoRadio(reference, plan);

    std::array<TransferOutcome, kRadios> outcomes{};
    std::array<bool, kRadios> doneOnOwner{};
    int ownerTicks = 0;
    QTimer ticker; // the owner's loop must keep running while the radios work
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ownerTicks; });
    ticker.start(50);
    {
        PortThreads threads;
        QThread* const owner = QThread::currentThread();
        for (std::size_t i = 0; i < kRadios; ++i)
            threads.start([&, i, path = radios[i]->path()] { outcomes[i] = writeThrough(path, plan); },
                          [&, i, owner] { doneOnOwner[i] = QThread::currentThread() == owner; });
        EXPECT_EQ(threads.running(), kRadios);
        threads.waitForAll();
        EXPECT_EQ(threads.running(), 0u);
    }
    EXPECT_GT(ownerTicks, 0);
    for (std::size_t i = 0; i < kRadios; ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(doneOnOwner[i]);
        if (i == kSilent) {
            EXPECT_EQ(outcomes[i], TransferOutcome::Failed);
            // The two acknowledged blocks (channels 1 to 8) are in, nothing after.
            EXPECT_EQ(radios[i]->readMemory(test::channelAddress(1), 8 * 16),
                      reference.readMemory(test::channelAddress(1), 8 * 16));
            EXPECT_NE(radios[i]->readMemory(test::channelAddress(16), 16),
                      reference.readMemory(test::channelAddress(16), 16));
        } else {
            EXPECT_EQ(outcomes[i], TransferOutcome::Succeeded);
            EXPECT_EQ(radios[i]->memory(), reference.memory());
        }
    }
}

} // namespace
