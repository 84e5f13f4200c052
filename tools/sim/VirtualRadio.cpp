#include "VirtualRadio.h"

#include "Errors.h"
#include "ImageFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <stdlib.h>
#include <sys/eventfd.h>
#include <termios.h>
#include <unistd.h>

using namespace std::chrono;

namespace {

// A command the line has been quiet in the middle of is given up after this.
constexpr auto kCommandGap = milliseconds(1000);

std::string hex(const std::vector<uint8_t>& bytes, size_t limit = 8)
{
    std::string s;
    char buf[4];
    for (size_t i = 0; i < bytes.size() && i < limit; ++i) {
        std::snprintf(buf, sizeof buf, "%02X ", bytes[i]);
        s += buf;
    }
    if (bytes.size() > limit)
        s += "...";
    return s;
}

}  // namespace

VirtualRadio::VirtualRadio(VirtualRadioOptions options) : options_(std::move(options)), memory_(zk::blankImage())
{
}

VirtualRadio::~VirtualRadio()
{
    stop();
}

void VirtualRadio::start()
{
    if (running())
        return;
    if (!options_.imagePath.empty() && ::access(options_.imagePath.c_str(), F_OK) == 0)
        setMemory(zk::readImageFile(options_.imagePath));

    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    char name[128] = {};
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0 ||
        ::ptsname_r(master_, name, sizeof name) != 0) {
        const int err = errno;
        stop();
        throw std::runtime_error(std::string("cannot make a pseudo-terminal: ") + std::strerror(err));
    }
    path_ = name;
    // Keep one descriptor of the terminal side: without it the master reads
    // fail whenever no program has the port open. It is never read; raw
    // mode keeps the line discipline from echoing our replies back to us.
    slave_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    termios t{};
    if (slave_ >= 0 && ::tcgetattr(slave_, &t) == 0) {
        ::cfmakeraw(&t);
        ::tcsetattr(slave_, TCSANOW, &t);
    }
    wake_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (slave_ < 0 || wake_ < 0) {
        const int err = errno;
        stop();
        throw std::runtime_error(std::string("cannot set up the pseudo-terminal: ") + std::strerror(err));
    }
    if (!options_.linkPath.empty()) {
        ::unlink(options_.linkPath.c_str());
        if (::symlink(path_.c_str(), options_.linkPath.c_str()) != 0) {
            const int err = errno;
            stop();
            throw std::runtime_error("cannot make link " + options_.linkPath + ": " + std::strerror(err));
        }
    }
    outgoing_.clear();
    rxClock_ = txClock_ = lastByte_ = Clock::now();
    thread_ = std::thread([this] { run(); });
}

void VirtualRadio::stop()
{
    if (thread_.joinable()) {
        const uint64_t one = 1;
        [[maybe_unused]] ssize_t n = ::write(wake_, &one, sizeof one);
        thread_.join();
        if (!options_.linkPath.empty())
            ::unlink(options_.linkPath.c_str());
    }
    for (int* fd : {&master_, &slave_, &wake_}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
}

std::string VirtualRadio::path() const
{
    return path_;
}

VirtualRadio::Clock::duration VirtualRadio::byteTime() const
{
    if (!options_.pacing || options_.baud == 0)
        return Clock::duration::zero();
    // Start bit, 8 data bits, stop bit.
    return duration_cast<Clock::duration>(nanoseconds(10'000'000'000LL / options_.baud));
}

void VirtualRadio::run()
{
    uint8_t buffer[512];
    bool detached = false;  // master reads failing: nobody holds the terminal side
    for (;;) {
        auto now = Clock::now();
        Clock::time_point wakeAt = Clock::time_point::max();
        if (!outgoing_.empty())
            wakeAt = outgoing_.front().due;
        {
            std::lock_guard guard(lock_);
            if (protocol_.inCommand())
                wakeAt = std::min(wakeAt, lastByte_ + kCommandGap);
        }
        if (detached)
            wakeAt = std::min(wakeAt, now + milliseconds(200));

        // While detached the master is left out of the wait: it would report
        // its hang-up at once, again and again.
        pollfd fds[2] = {{wake_, POLLIN, 0}, {detached ? -1 : master_, POLLIN, 0}};
        if (!outgoing_.empty() && outgoing_.front().due <= now)
            fds[1].events |= POLLOUT;
        timespec timeout{};
        timespec* limit = nullptr;
        if (wakeAt != Clock::time_point::max()) {
            const auto left = std::max(Clock::duration::zero(), wakeAt - now);
            const auto ns = duration_cast<nanoseconds>(left).count();
            timeout.tv_sec = static_cast<time_t>(ns / 1'000'000'000);
            timeout.tv_nsec = static_cast<long>(ns % 1'000'000'000);
            limit = &timeout;
        }
        const int rc = ::ppoll(fds, 2, limit, nullptr);
        if (rc < 0 && errno != EINTR)
            break;
        if (rc > 0 && fds[0].revents)
            break;
        now = Clock::now();
        if (rc > 0 && (fds[1].revents & (POLLIN | POLLHUP | POLLERR))) {
            const ssize_t n = ::read(master_, buffer, sizeof buffer);
            if (n > 0)
                takeBytes(buffer, static_cast<size_t>(n), now);
            else if (n < 0 && errno == EIO)
                detached = true;
        } else if (detached && rc == 0) {
            detached = false;  // try the master again
        }
        {
            std::lock_guard guard(lock_);
            if (protocol_.inCommand() && now - lastByte_ >= kCommandGap)
                protocol_.dropPartialCommand();
        }
        sendDue(Clock::now());
    }
}

void VirtualRadio::takeBytes(const uint8_t* bytes, size_t count, Clock::time_point now)
{
    const auto step = byteTime();
    std::string traceLine;
    std::function<void(const std::string&)> trace;
    zk::RadioImage imageToSave;
    bool save = false;
    {
        std::lock_guard guard(lock_);
        trace = trace_;
        for (size_t i = 0; i < count; ++i) {
            // A byte is complete on the line one byte time after the previous one.
            rxClock_ = std::max(now, rxClock_ + step);
            lastByte_ = now;
            received_.push_back(bytes[i]);
            bool written = false;
            const auto chunks = protocol_.feed(bytes[i], memory_, faults_, written);
            if (written && !options_.imagePath.empty()) {
                imageToSave = memory_;
                save = true;
            }
            auto at = std::max(rxClock_, txClock_);
            if (faults_.echo) {
                // A cable that loops the sent line back: the byte first, then the answer.
                outgoing_.push_back({at, bytes[i]});
                at += step;
            }
            for (const auto& chunk : chunks) {
                at += milliseconds(chunk.pauseBeforeMs);
                for (uint8_t b : chunk.bytes) {
                    outgoing_.push_back({at, b});
                    at += step;
                }
                if (trace)
                    traceLine += (traceLine.empty() ? "reply " : " | ") + hex(chunk.bytes) + "(" +
                                 std::to_string(chunk.bytes.size()) + " bytes)";
            }
            txClock_ = at;
        }
    }
    if (save) {
        // The programs' own safe replacement: a full disk leaves the
        // previous image whole, and a link keeps leading to it.
        try {
            zk::saveImageFile(options_.imagePath, imageToSave);
        } catch (const zk::AppError& e) {
            if (trace)
                trace(e.what());
        }
    }
    if (trace && !traceLine.empty())
        trace(traceLine);
}

void VirtualRadio::sendDue(Clock::time_point now)
{
    uint8_t out[512];
    size_t n = 0;
    while (n < sizeof out && n < outgoing_.size() && outgoing_[n].due <= now) {
        out[n] = outgoing_[n].byte;
        ++n;
    }
    if (n == 0)
        return;
    const ssize_t written = ::write(master_, out, n);
    if (written <= 0)
        return;  // no room now; poll waits for it
    std::lock_guard guard(lock_);
    sent_.insert(sent_.end(), out, out + written);
    outgoing_.erase(outgoing_.begin(), outgoing_.begin() + written);
}

zk::RadioImage VirtualRadio::memory() const
{
    std::lock_guard guard(lock_);
    return memory_;
}

void VirtualRadio::setMemory(const zk::RadioImage& memory)
{
    std::lock_guard guard(lock_);
    memory_ = memory;
}

std::vector<uint8_t> VirtualRadio::readMemory(uint16_t address, size_t length) const
{
    std::lock_guard guard(lock_);
    std::vector<uint8_t> out;
    for (size_t i = 0; i < length && address + i < memory_.size(); ++i)
        out.push_back(memory_[address + i]);
    return out;
}

void VirtualRadio::writeMemory(uint16_t address, const std::vector<uint8_t>& bytes)
{
    std::lock_guard guard(lock_);
    for (size_t i = 0; i < bytes.size() && address + i < memory_.size(); ++i)
        memory_[address + i] = bytes[i];
}

RadioFaults VirtualRadio::faults() const
{
    std::lock_guard guard(lock_);
    return faults_;
}

void VirtualRadio::setFaults(const RadioFaults& faults)
{
    std::lock_guard guard(lock_);
    faults_ = faults;
}

std::vector<uint8_t> VirtualRadio::received() const
{
    std::lock_guard guard(lock_);
    return received_;
}

std::vector<uint8_t> VirtualRadio::sent() const
{
    std::lock_guard guard(lock_);
    return sent_;
}

void VirtualRadio::clearLog()
{
    std::lock_guard guard(lock_);
    received_.clear();
    sent_.clear();
}

int VirtualRadio::sessionsEnded() const
{
    std::lock_guard guard(lock_);
    return protocol_.sessionsEnded();
}

int VirtualRadio::commandsServed() const
{
    std::lock_guard guard(lock_);
    return protocol_.commandsServed();
}

void VirtualRadio::setTrace(std::function<void(const std::string&)> trace)
{
    std::lock_guard guard(lock_);
    trace_ = std::move(trace);
}
