#include "PortConnection.h"

#include "CommTap.h"
#include "TComm.h"

namespace zk {

RadioLink::SendFunction sendThrough(TComm& comm)
{
    return [&comm](const std::uint8_t* bytes, std::uint16_t length) { return comm.SendData(bytes, length); };
}

void receiveInto(TComm& comm, RadioLink& link)
{
    comm.OnReceiveData = [&link](TComm*, const void* buffer, std::uint16_t length) {
        link.Comm1ReceiveData(buffer, length);
    };
}

void switchOffSoftwareFlowControl(TComm& comm)
{
    comm.SetInx_XonXoffFlow(false);
    comm.SetOutx_XonXoffFlow(false);
}

void noteTimeouts(TComm& comm, RadioLink& link)
{
    link.onTimeout = [&comm](std::size_t expected, std::size_t got) {
        if (CommTap* tap = comm.Tap())
            tap->note("time-out: " + std::to_string(got) + " of " + std::to_string(expected) + " reply bytes");
    };
}

} // namespace zk
