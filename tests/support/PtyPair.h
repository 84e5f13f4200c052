// A pseudo-terminal pair for serial tests: the component opens the
// terminal side by its path, the test plays the far end on the master.
// The test also keeps a descriptor of the terminal side, opened before the
// component's, to read the line settings back and to keep the pair alive.
#pragma once

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <stdlib.h>
#include <string>
#include <termios.h>
#include <unistd.h>
#include <vector>

class PtyPair {
public:
    PtyPair()
    {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
        if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0)
            throw std::runtime_error("no pseudo-terminal");
        char name[128];
        if (::ptsname_r(master_, name, sizeof name) != 0)
            throw std::runtime_error("no pseudo-terminal name");
        path_ = name;
        slave_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
        if (slave_ < 0)
            throw std::runtime_error("cannot open terminal side");
        // No echo or line editing before the component sets its own mode.
        termios t{};
        ::tcgetattr(slave_, &t);
        ::cfmakeraw(&t);
        ::tcsetattr(slave_, TCSANOW, &t);
    }
    ~PtyPair()
    {
        closeMaster();
        if (slave_ >= 0)
            ::close(slave_);
    }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    const std::string& path() const { return path_; }
    int master() const { return master_; }
    int slave() const { return slave_; }
    void closeMaster()
    {
        if (master_ >= 0)
            ::close(master_);
        master_ = -1;
    }

    termios slaveAttributes() const
    {
        termios t{};
        ::tcgetattr(slave_, &t);
        return t;
    }

    // Writes everything to the master, waiting for room as needed.
    void write(const std::vector<uint8_t>& bytes) const
    {
        size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
            if (n > 0) {
                done += static_cast<size_t>(n);
            } else if (n < 0 && errno == EAGAIN) {
                pollfd p{master_, POLLOUT, 0};
                ::poll(&p, 1, 1000);
            } else if (!(n < 0 && errno == EINTR)) {
                throw std::runtime_error("write to master failed");
            }
        }
    }

    // Reads from the master until `count` bytes came or `limit` passed.
    std::vector<uint8_t> read(size_t count, std::chrono::milliseconds limit = std::chrono::seconds(5)) const
    {
        std::vector<uint8_t> out;
        const auto end = std::chrono::steady_clock::now() + limit;
        while (out.size() < count) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
            if (left.count() <= 0)
                break;
            pollfd p{master_, POLLIN, 0};
            if (::poll(&p, 1, static_cast<int>(left.count())) <= 0)
                continue;
            uint8_t buffer[4096];
            const ssize_t n = ::read(master_, buffer, std::min(sizeof buffer, count - out.size()));
            if (n > 0)
                out.insert(out.end(), buffer, buffer + n);
            else if (n == 0 || (errno != EAGAIN && errno != EINTR))
                break;
        }
        return out;
    }

    // Everything readable now, without waiting.
    std::vector<uint8_t> drain() const
    {
        std::vector<uint8_t> out;
        uint8_t buffer[4096];
        for (;;) {
            const ssize_t n = ::read(master_, buffer, sizeof buffer);
            if (n <= 0)
                break;
            out.insert(out.end(), buffer, buffer + n);
        }
        return out;
    }

private:
    int master_ = -1;
    int slave_ = -1;
    std::string path_;
};

// Descriptors open in this process, to prove nothing was left behind.
inline int openDescriptorCount()
{
    int count = 0;
    for (int fd = 0; fd < 4096; ++fd)
        if (::fcntl(fd, F_GETFD) != -1)
            ++count;
    return count;
}
