// Plain-words explanation of why a serial device could not be opened, for
// the user; the component itself only carries the fixed error texts.
#pragma once

#include "AdviceFor.h"
#include "SystemView.h"

#include <string>

// path: the device path; err: the errno of the failed step (0 if unknown).
// A refused permission follows the device's owner, group and mode; a busy
// device names the other processes that have it open. reader: who is
// pointed where for more.
std::string describeOpenFailure(const std::string& path, int err, const zk::SystemView& view = {},
                                zk::AdviceFor reader = zk::AdviceFor::CommandLine);
