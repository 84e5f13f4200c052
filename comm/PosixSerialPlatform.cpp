#include "SerialPlatform.h"

#include "CommTypes.h"
#include "CustomBaud.h"

#include <cerrno>
#include <fcntl.h>
#include <linux/serial.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace {

int result(int rc)
{
    return rc < 0 ? -errno : rc;
}

class PosixSerialPlatform final : public SerialPlatform {
public:
    int openPort(const std::string& path) override
    {
        return result(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    }

    void closePort(int fd) override { ::close(fd); }

    // Two locks because each covers what the other misses: the advisory
    // lock is honoured by other well-behaved programs and applies to root,
    // TIOCEXCL (setExclusive) stops any other non-root open of the terminal.
    int lockPort(int fd) override { return result(::flock(fd, LOCK_EX | LOCK_NB)); }

    void unlockPort(int fd) override { ::flock(fd, LOCK_UN); }

    int isCharDevice(int fd) override
    {
        struct stat st {};
        if (::fstat(fd, &st) != 0)
            return -errno;
        return S_ISCHR(st.st_mode) ? 1 : 0;
    }

    int setupBuffers(int fd, size_t, size_t) override
    {
        termios tio {};
        return result(::tcgetattr(fd, &tio));
    }

    int setExclusive(int fd, bool on) override { return result(::ioctl(fd, on ? TIOCEXCL : TIOCNXCL)); }

    int drainOutput(int fd) override { return result(::tcdrain(fd)); }
    int purge(int fd, unsigned flags) override
    {
        // Reads and writes are never left pending on a non-blocking
        // descriptor, so the abort flags need nothing here.
        const bool rx = flags & PURGE_RXCLEAR;
        const bool tx = flags & PURGE_TXCLEAR;
        if (!rx && !tx)
            return 0;
        return result(::tcflush(fd, rx && tx ? TCIOFLUSH : rx ? TCIFLUSH : TCOFLUSH));
    }

    int getAttributes(int fd, termios& tio) override { return result(::tcgetattr(fd, &tio)); }

    int setAttributes(int fd, const termios& tio, uint32_t customBaud) override
    {
        if (::tcsetattr(fd, TCSANOW, &tio) != 0)
            return -errno;
        return customBaud ? setCustomBaud(fd, customBaud) : 0;
    }

    int getModemLines(int fd, int& lines) override { return result(::ioctl(fd, TIOCMGET, &lines)); }

    int setModemLines(int fd, int raise, int lower) override
    {
        int rc = 0;
        if (raise && ::ioctl(fd, TIOCMBIS, &raise) != 0)
            rc = -errno;
        if (lower && ::ioctl(fd, TIOCMBIC, &lower) != 0)
            rc = -errno;
        return rc;
    }

    int getLineCounters(int fd, LineCounters& counters) override
    {
        serial_icounter_struct ic {};
        if (::ioctl(fd, TIOCGICOUNT, &ic) != 0)
            return -errno;
        counters.frame = ic.frame;
        counters.parity = ic.parity;
        counters.overrun = ic.overrun;
        counters.brk = ic.brk;
        counters.bufOverrun = ic.buf_overrun;
        return 0;
    }

    int createEvent() override { return result(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)); }

    int setEvent(int fd) override
    {
        const uint64_t one = 1;
        return ::write(fd, &one, sizeof one) == sizeof one ? 0 : -errno;
    }

    bool isEventSet(int fd) override
    {
        pollfd p{fd, POLLIN, 0};
        return ::poll(&p, 1, 0) > 0 && (p.revents & POLLIN);
    }

    void consumeEvent(int fd) override
    {
        uint64_t count = 0;
        [[maybe_unused]] ssize_t n = ::read(fd, &count, sizeof count);
    }

    void closeEvent(int fd) override { ::close(fd); }

    int poll(pollfd* fds, size_t count, int timeoutMs) override
    {
        return result(::poll(fds, count, timeoutMs));
    }

    ssize_t read(int fd, void* buffer, size_t size) override
    {
        const ssize_t n = ::read(fd, buffer, size);
        return n < 0 ? -errno : n;
    }

    ssize_t write(int fd, const void* buffer, size_t size) override
    {
        const ssize_t n = ::write(fd, buffer, size);
        return n < 0 ? -errno : n;
    }

    int startThread(std::thread& thread, std::function<void()> body) override
    {
        try {
            thread = std::thread(std::move(body));
            return 0;
        } catch (const std::system_error& e) {
            return -e.code().value();
        }
    }

    void raiseThreadPriority(int delta) override
    {
        // Per-thread nice value; lowering it needs privileges, so a refusal
        // simply leaves the thread at normal priority.
        const auto tid = static_cast<id_t>(::gettid());
        errno = 0;
        const int nice = ::getpriority(PRIO_PROCESS, tid);
        if (errno == 0)
            ::setpriority(PRIO_PROCESS, tid, nice - delta);
    }
};

}  // namespace

SerialPlatform& posixSerialPlatform()
{
    static PosixSerialPlatform platform;
    return platform;
}
