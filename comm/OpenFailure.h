// Plain-words explanation of why a serial device could not be opened, for
// the user; the component itself only carries the fixed error texts.
#pragma once

#include <string>

// path: the device path; err: the errno of the failed step (0 if unknown).
std::string describeOpenFailure(const std::string& path, int err);
