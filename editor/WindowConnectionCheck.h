#pragma once
// The Connection Check as the window runs it: the checks of the port chosen
// in the list, with advice a desktop user can follow, then the radio asked
// through the window's own port, between transfers.
#include "ConnectionCheck.h"

#include <string>

namespace zk {

class RadioLink;
class TransferEngine;

// port: the list's choice, empty for none; portOpen: the window holds it
// open. The probe runs over link only while engine runs no transfer.
CheckReport checkConnectionFromWindow(const std::string& port, bool portOpen, const SystemView& view,
                                      TransferEngine& engine, RadioLink& link);

} // namespace zk
