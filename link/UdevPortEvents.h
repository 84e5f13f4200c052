// Serial devices coming and going, as libudev's monitor reports them (after
// udev has made the device node and set its permissions). Events are
// delivered from the Qt event loop of the creating thread.
#pragma once

#include "PortEvents.h"

#include <memory>

namespace zk {

// The monitor for the "tty" subsystem; nothing when udev cannot be reached
// (a container without it, say): the port list is then read only at start.
std::unique_ptr<PortEventSource> createUdevPortEvents();

} // namespace zk
