#pragma once
// Joins the radio link to the serial port component: commands go out
// through SendData, and every received block is appended to the link's
// reply text by Comm1ReceiveData.
#include "RadioLink.h"

class TComm;

namespace zk {

// Sends through the port; the link ignores the result as before.
RadioLink::SendFunction sendThrough(TComm& comm);

// Routes the port's received data into the link's reply text.
void receiveInto(TComm& comm, RadioLink& link);

// The radio's line runs without XON/XOFF: the protocol carries bytes of any
// value, 0x11 and 0x13 included. Applied to the open port at once and kept
// for every later open.
void switchOffSoftwareFlowControl(TComm& comm);

// Lets the port's tap (the serial trace) also note each block that got no
// reply of the right length in time. Nothing when the port has no tap.
void noteTimeouts(TComm& comm, RadioLink& link);

} // namespace zk
