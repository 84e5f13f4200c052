#pragma once
// An engine on the real serial component, talking to the virtual radio on
// a pseudo-terminal, as the window's own port, link and engine do.
#include "EventLoopWait.h"
#include "HexText.h"
#include "PortConnection.h"
#include "TComm.h"
#include "TransferEngine.h"
#include "VirtualRadio.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zk::test {

class EngineOnRadio : public ::testing::Test {
protected:
    void SetUp() override
    {
        radio.start();
        comm.SetCommName(radio.path());
        comm.OpenPort();
        switchOffSoftwareFlowControl(comm);
        receiveInto(comm, link);
    }
    void TearDown() override
    {
        comm.ClosePort();
        radio.stop();
    }
    TransferEngine::ProgressFunction recorder()
    {
        return [this](int k) { progress.push_back(k); };
    }
    std::string wire() const { return toHexText(radio.received()); }

    VirtualRadio radio;
    TComm comm;
    RadioLink link{sendThrough(comm), [this] { return comm.IsOpen(); }, pumpEventsFor};
    ChannelTable table;
    TransferEngine engine{link, table};
    std::vector<int> progress;
};

// The wire's hex text of the handshake, and of each block's read command.
inline const std::string kHandshakeHex = "50524F4752414D";
inline const std::string kReadCommandsHex = "5200104052005040520090405200D040" "52012F40";

} // namespace zk::test
