// Arbitrary line rates through the kernel's termios2 interface. Kept in its
// own file because the kernel's termios header cannot share a translation
// unit with the C library's.
#pragma once

#include <cstdint>

// Sets input and output rate to `rate`, keeping the other settings. 0 or -errno.
int setCustomBaud(int fd, uint32_t rate);
// Reads the output rate as the kernel holds it (standard or not). 0 or -errno.
int getLineRate(int fd, uint32_t& rate);
