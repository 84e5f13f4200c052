// Plain-words reasons why a serial device cannot be used: what the owner,
// group and mode bits allow this process, and which other processes have
// the device open. Read through a SystemView, so tests use prepared trees.
#pragma once

#include "AdviceFor.h"
#include "SystemView.h"

#include <string>
#include <sys/types.h>
#include <vector>

namespace zk {

// Whether the owner, group and mode bits let this process read and write
// path, and if not, why and what to do. A group is named only when it may
// read and write the device (and is not root's); a membership the session
// does not have yet asks for a new login; an owner-only USB adapter points
// at the udev rule while udev runs, any other owner-only device at the
// group or mode command to run as root.
struct AccessCheck {
    bool allowed = false;
    bool ownerOnly = false; // no group may use it: a udev rule is the way
    std::string problem;    // why not, in a few words
    std::string remedy;  // what to do, one line
};
AccessCheck checkAccess(const std::string& path, const SystemView& view, AdviceFor reader = AdviceFor::CommandLine);

// The advice for a refused open: the problem and the remedy in one text.
std::string permissionAdvice(const std::string& path, const SystemView& view,
                             AdviceFor reader = AdviceFor::CommandLine);

struct PortHolder {
    pid_t pid = 0;
    std::string name; // the process's command name
};

// Other processes that have path open, as far as /proc lets this user see,
// in process-id order; this process is left out.
std::vector<PortHolder> portHolders(const std::string& path, const SystemView& view);

// One line per holder: "ModemManager (pid 812) also has /dev/ttyUSB0 open."
// Empty when there is none.
std::string holdersText(const std::string& path, const std::vector<PortHolder>& holders);

} // namespace zk
