// Line errors and modem-line changes as the reader reports them, worked
// out from two readings of the driver's counters and modem lines.
#pragma once

#include <cstdint>

// The driver's error counters (TIOCGICOUNT), only the ones reported.
struct LineCounters {
    int frame = 0;
    int parity = 0;
    int overrun = 0;
    int brk = 0;
    int bufOverrun = 0;
};

// CE_ bits for every counter that went up between before and after.
uint32_t lineErrorBits(const LineCounters& before, const LineCounters& after);

// MODEM_EVENT_ bits for two readings of the modem lines (TIOCM_ bits):
// carrier detect changed either way, ring indicator came on.
uint32_t modemEventBits(int linesBefore, int linesAfter);
