// The serial trace: every byte sent and received, with the milliseconds
// since the port was opened and the direction, as hex and as printable
// text, plus the opening, closing, hang-ups and time-outs. Each line is
// written out as it happens, so the file survives a crash; it is what a user
// sends along when asking for help.
#pragma once

#include "CommTap.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>

class SerialTrace final : public CommTap {
public:
    // Bytes per line of hex; a longer block continues on further lines.
    static constexpr size_t kBytesPerLine = 16;

    // Creates or empties the file; ok() says whether that worked. A FIFO
    // that nobody reads is refused at once rather than waited on.
    explicit SerialTrace(const std::string& file);
    ~SerialTrace() override;
    SerialTrace(const SerialTrace&) = delete;
    SerialTrace& operator=(const SerialTrace&) = delete;

    bool ok() const { return file_ != nullptr; }
    // The system's reason when the file could not be made.
    std::string failure() const;
    // False once a line could not be written in full (a full disk); the
    // system's reason in writeFailure().
    bool complete() const { return writeError_ == 0; }
    std::string writeFailure() const;

    void opened(const std::string& path) override;
    void openFailed(const std::string& path, const std::string& reason) override;
    void closed() override;
    void sent(const uint8_t* bytes, size_t count) override;
    void received(const uint8_t* bytes, size_t count) override;
    void hungUp() override;
    void note(const std::string& text) override;

    // One line of bytes: hex digits padded to a full line, then the bytes
    // as text with a dot for anything unprintable.
    static std::string byteLine(const uint8_t* bytes, size_t count);

private:
    void line(const char* what, const std::string& text);
    void bytes(const char* direction, const uint8_t* bytes, size_t count);

    std::FILE* file_ = nullptr;
    int error_ = 0;
    std::atomic<int> writeError_{0};
    std::chrono::steady_clock::time_point start_;
    bool hungUp_ = false; // since the last opening
};
