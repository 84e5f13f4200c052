#include "VirtualRadio.h"

#include "Errors.h"
#include "FileIo.h"

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

VirtualRadio::VirtualRadio(VirtualRadioOptions options) : m_options(std::move(options))
{
    m_memory.fill(0xFF);
}

VirtualRadio::~VirtualRadio()
{
    stop();
}

void VirtualRadio::start()
{
    if (running())
        return;
    if (!m_options.imagePath.empty()) {
        std::string error;
        RadioMemory image;
        if (::access(m_options.imagePath.c_str(), F_OK) == 0) {
            if (!loadImage(m_options.imagePath, image, error))
                throw std::runtime_error(error);
            setMemory(image);
        }
    }

    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    char name[128] = {};
    if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0 ||
        ::ptsname_r(m_master, name, sizeof name) != 0) {
        const int err = errno;
        stop();
        throw std::runtime_error(std::string("cannot make a pseudo-terminal: ") + std::strerror(err));
    }
    m_path = name;
    // Keep one descriptor of the terminal side: without it the master reads
    // fail whenever no program has the port open. It is never read; raw
    // mode keeps the line discipline from echoing our replies back to us.
    m_slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    termios t{};
    if (m_slave >= 0 && ::tcgetattr(m_slave, &t) == 0) {
        ::cfmakeraw(&t);
        ::tcsetattr(m_slave, TCSANOW, &t);
    }
    m_wake = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (m_slave < 0 || m_wake < 0) {
        const int err = errno;
        stop();
        throw std::runtime_error(std::string("cannot set up the pseudo-terminal: ") + std::strerror(err));
    }
    if (!m_options.linkPath.empty()) {
        ::unlink(m_options.linkPath.c_str());
        if (::symlink(m_path.c_str(), m_options.linkPath.c_str()) != 0) {
            const int err = errno;
            stop();
            throw std::runtime_error("cannot make link " + m_options.linkPath + ": " + std::strerror(err));
        }
    }
    m_outgoing.clear();
    m_rxClock = m_txClock = m_lastByte = Clock::now();
    m_thread = std::thread([this] { run(); });
}

void VirtualRadio::stop()
{
    if (m_thread.joinable()) {
        const uint64_t one = 1;
        [[maybe_unused]] ssize_t n = ::write(m_wake, &one, sizeof one);
        m_thread.join();
        if (!m_options.linkPath.empty())
            ::unlink(m_options.linkPath.c_str());
    }
    for (int* fd : {&m_master, &m_slave, &m_wake}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
}

std::string VirtualRadio::path() const
{
    return m_path;
}

VirtualRadio::Clock::duration VirtualRadio::byteTime() const
{
    if (!m_options.pacing || m_options.baud == 0)
        return Clock::duration::zero();
    // Start bit, 8 data bits, stop bit.
    return duration_cast<Clock::duration>(nanoseconds(10'000'000'000LL / m_options.baud));
}

void VirtualRadio::run()
{
    uint8_t buffer[512];
    bool detached = false;  // master reads failing: nobody holds the terminal side
    for (;;) {
        auto now = Clock::now();
        Clock::time_point wakeAt = Clock::time_point::max();
        if (!m_outgoing.empty())
            wakeAt = m_outgoing.front().due;
        {
            std::lock_guard guard(m_lock);
            if (m_protocol.inCommand())
                wakeAt = std::min(wakeAt, m_lastByte + kCommandGap);
        }
        if (detached)
            wakeAt = std::min(wakeAt, now + milliseconds(200));

        // While detached the master is left out of the wait: it would report
        // its hang-up at once, again and again.
        pollfd fds[2] = {{m_wake, POLLIN, 0}, {detached ? -1 : m_master, POLLIN, 0}};
        if (!m_outgoing.empty() && m_outgoing.front().due <= now)
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
            const ssize_t n = ::read(m_master, buffer, sizeof buffer);
            if (n > 0)
                takeBytes(buffer, static_cast<size_t>(n), now);
            else if (n < 0 && errno == EIO)
                detached = true;
        } else if (detached && rc == 0) {
            detached = false;  // try the master again
        }
        {
            std::lock_guard guard(m_lock);
            if (m_protocol.inCommand() && now - m_lastByte >= kCommandGap)
                m_protocol.dropPartialCommand();
        }
        sendDue(Clock::now());
    }
}

void VirtualRadio::takeBytes(const uint8_t* bytes, size_t count, Clock::time_point now)
{
    const auto step = byteTime();
    std::string traceLine;
    std::function<void(const std::string&)> trace;
    RadioMemory imageToSave;
    bool save = false;
    {
        std::lock_guard guard(m_lock);
        trace = m_trace;
        for (size_t i = 0; i < count; ++i) {
            // A byte is complete on the line one byte time after the previous one.
            m_rxClock = std::max(now, m_rxClock + step);
            m_lastByte = now;
            m_received.push_back(bytes[i]);
            bool written = false;
            const auto chunks = m_protocol.feed(bytes[i], m_memory, m_faults, written);
            if (written && !m_options.imagePath.empty()) {
                imageToSave = m_memory;
                save = true;
            }
            auto at = std::max(m_rxClock, m_txClock);
            if (m_faults.echo) {
                // A cable that loops the sent line back: the byte first, then the answer.
                m_outgoing.push_back({at, bytes[i]});
                at += step;
            }
            for (const auto& chunk : chunks) {
                at += milliseconds(chunk.pauseBeforeMs);
                for (uint8_t b : chunk.bytes) {
                    m_outgoing.push_back({at, b});
                    at += step;
                }
                if (trace)
                    traceLine += (traceLine.empty() ? "reply " : " | ") + hex(chunk.bytes) + "(" +
                                 std::to_string(chunk.bytes.size()) + " bytes)";
            }
            m_txClock = at;
        }
    }
    if (save) {
        std::string error;
        if (!saveImage(m_options.imagePath, imageToSave, error) && trace)
            trace(error);
    }
    if (trace && !traceLine.empty())
        trace(traceLine);
}

void VirtualRadio::sendDue(Clock::time_point now)
{
    uint8_t out[512];
    size_t n = 0;
    while (n < sizeof out && n < m_outgoing.size() && m_outgoing[n].due <= now) {
        out[n] = m_outgoing[n].byte;
        ++n;
    }
    if (n == 0)
        return;
    const ssize_t written = ::write(m_master, out, n);
    if (written <= 0)
        return;  // no room now; poll waits for it
    std::lock_guard guard(m_lock);
    m_sent.insert(m_sent.end(), out, out + written);
    m_outgoing.erase(m_outgoing.begin(), m_outgoing.begin() + written);
}

RadioMemory VirtualRadio::memory() const
{
    std::lock_guard guard(m_lock);
    return m_memory;
}

void VirtualRadio::setMemory(const RadioMemory& memory)
{
    std::lock_guard guard(m_lock);
    m_memory = memory;
}

std::vector<uint8_t> VirtualRadio::readMemory(uint16_t address, size_t length) const
{
    std::lock_guard guard(m_lock);
    std::vector<uint8_t> out;
    for (size_t i = 0; i < length && address + i < m_memory.size(); ++i)
        out.push_back(m_memory[address + i]);
    return out;
}

void VirtualRadio::writeMemory(uint16_t address, const std::vector<uint8_t>& bytes)
{
    std::lock_guard guard(m_lock);
    for (size_t i = 0; i < bytes.size() && address + i < m_memory.size(); ++i)
        m_memory[address + i] = bytes[i];
}

RadioFaults VirtualRadio::faults() const
{
    std::lock_guard guard(m_lock);
    return m_faults;
}

void VirtualRadio::setFaults(const RadioFaults& faults)
{
    std::lock_guard guard(m_lock);
    m_faults = faults;
}

std::vector<uint8_t> VirtualRadio::received() const
{
    std::lock_guard guard(m_lock);
    return m_received;
}

std::vector<uint8_t> VirtualRadio::sent() const
{
    std::lock_guard guard(m_lock);
    return m_sent;
}

void VirtualRadio::clearLog()
{
    std::lock_guard guard(m_lock);
    m_received.clear();
    m_sent.clear();
}

int VirtualRadio::sessionsEnded() const
{
    std::lock_guard guard(m_lock);
    return m_protocol.sessionsEnded();
}

int VirtualRadio::commandsServed() const
{
    std::lock_guard guard(m_lock);
    return m_protocol.commandsServed();
}

void VirtualRadio::setTrace(std::function<void(const std::string&)> trace)
{
    std::lock_guard guard(m_lock);
    m_trace = std::move(trace);
}

namespace {
// Refused before reading when it cannot be an image: a device or a pipe
// given by mistake never blocks the start.
constexpr zk::FileKind kImageKind{"a memory image", kRadioMemorySize, "512 bytes"};
} // namespace

bool VirtualRadio::loadImage(const std::string& file, RadioMemory& memory, std::string& error)
{
    std::string bytes;
    try {
        bytes = zk::readRegularFile(file, kImageKind);
    } catch (const zk::AppError& e) {
        error = e.what();
        return false;
    }
    if (bytes.size() != memory.size()) {
        error = "image " + file + " has " + std::to_string(bytes.size()) + " bytes, not " +
                std::to_string(memory.size());
        return false;
    }
    std::memcpy(memory.data(), bytes.data(), memory.size());
    return true;
}

bool VirtualRadio::saveImage(const std::string& file, const RadioMemory& memory, std::string& error)
{
    // The same safe replacement as the programs' own files: a full disk
    // leaves the previous image whole, and a link keeps leading to it.
    try {
        zk::replaceFile(file, std::string(memory.begin(), memory.end()));
        return true;
    } catch (const zk::AppError& e) {
        error = e.what();
        return false;
    }
}
