#include "PortConnection.h"

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

} // namespace zk
