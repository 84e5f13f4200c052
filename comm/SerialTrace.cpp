#include "SerialTrace.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace {

// Opened without blocking, so a FIFO with no reader fails (ENXIO) instead
// of hanging before anything is said; then written to as usual.
std::FILE* openForWriting(const std::string& file)
{
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0)
        return nullptr;
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    std::FILE* const stream = ::fdopen(fd, "w");
    if (!stream) {
        const int error = errno;
        ::close(fd);
        errno = error;
    }
    return stream;
}

} // namespace

SerialTrace::SerialTrace(const std::string& file)
    : file_(openForWriting(file)), error_(file_ ? 0 : errno), start_(std::chrono::steady_clock::now())
{
}

std::string SerialTrace::writeFailure() const
{
    return std::strerror(writeError_);
}

std::string SerialTrace::failure() const
{
    return std::strerror(error_);
}

SerialTrace::~SerialTrace()
{
    if (file_)
        std::fclose(file_);
}

void SerialTrace::opened(const std::string& path)
{
    // Times count from here: the lines of one session read from 0.
    start_ = std::chrono::steady_clock::now();
    hungUp_ = false;
    line("open", path);
}

void SerialTrace::openFailed(const std::string& path, const std::string& reason)
{
    line("open", path + " failed: " + reason);
}

void SerialTrace::closed()
{
    line("close", {});
}

void SerialTrace::sent(const uint8_t* data, size_t count)
{
    bytes("sent", data, count);
}

void SerialTrace::received(const uint8_t* data, size_t count)
{
    bytes("recv", data, count);
}

void SerialTrace::hungUp()
{
    // Both workers report the same lost line; once is enough to read.
    if (hungUp_)
        return;
    hungUp_ = true;
    line("hangup", "the line is gone (device unplugged or closed at the far end)");
}

void SerialTrace::note(const std::string& text)
{
    line("note", text);
}

std::string SerialTrace::byteLine(const uint8_t* data, size_t count)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string hex;
    std::string text;
    for (size_t i = 0; i < count; ++i) {
        hex += digits[data[i] >> 4];
        hex += digits[data[i] & 0x0F];
        hex += ' ';
        text += data[i] >= 0x20 && data[i] < 0x7F ? static_cast<char>(data[i]) : '.';
    }
    hex.resize(kBytesPerLine * 3, ' ');
    return hex + ' ' + text;
}

void SerialTrace::line(const char* what, const std::string& text)
{
    if (!file_)
        return;
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start_).count();
    std::fprintf(file_, "%8lld ms  %-6s %s\n", static_cast<long long>(ms), what, text.c_str());
    // Out of the process at once: a crash must not lose the last lines.
    errno = 0;
    if ((std::fflush(file_) != 0 || std::ferror(file_)) && writeError_ == 0)
        writeError_ = errno != 0 ? errno : EIO;
}

void SerialTrace::bytes(const char* direction, const uint8_t* data, size_t count)
{
    for (size_t done = 0; done < count; done += kBytesPerLine)
        line(direction, byteLine(data + done, std::min(kBytesPerLine, count - done)));
}
