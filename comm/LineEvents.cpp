#include "LineEvents.h"

#include "CommTypes.h"

#include <sys/ioctl.h>

uint32_t lineErrorBits(const LineCounters& before, const LineCounters& after)
{
    uint32_t bits = 0;
    if (after.bufOverrun != before.bufOverrun)
        bits |= CE_RXOVER;
    if (after.overrun != before.overrun)
        bits |= CE_OVERRUN;
    if (after.parity != before.parity)
        bits |= CE_RXPARITY;
    if (after.frame != before.frame)
        bits |= CE_FRAME;
    if (after.brk != before.brk)
        bits |= CE_BREAK;
    return bits;
}

uint32_t modemEventBits(int linesBefore, int linesAfter)
{
    uint32_t bits = 0;
    if ((linesBefore ^ linesAfter) & TIOCM_CAR)
        bits |= MODEM_EVENT_RLSD;
    if (!(linesBefore & TIOCM_RNG) && (linesAfter & TIOCM_RNG))
        bits |= MODEM_EVENT_RING;
    return bits;
}
