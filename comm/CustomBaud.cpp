#include "CustomBaud.h"

#include <asm/termbits.h>
#include <cerrno>
#include <sys/ioctl.h>

int setCustomBaud(int fd, uint32_t rate)
{
    termios2 tio {};
    if (::ioctl(fd, TCGETS2, &tio) != 0)
        return -errno;
    tio.c_cflag &= ~tcflag_t(CBAUD | (CBAUD << IBSHIFT));
    tio.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
    tio.c_ispeed = rate;
    tio.c_ospeed = rate;
    if (::ioctl(fd, TCSETS2, &tio) != 0)
        return -errno;
    return 0;
}

int getLineRate(int fd, uint32_t& rate)
{
    termios2 tio {};
    if (::ioctl(fd, TCGETS2, &tio) != 0)
        return -errno;
    rate = tio.c_ospeed;
    return 0;
}
