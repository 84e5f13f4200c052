// A stand-in for the radio on a pseudo-terminal. It holds the master side
// and serves the protocol (RadioProtocol.h) on its own thread; the program
// under test opens the terminal side by path(), like a real serial port.
// Replies are paced like a real line (10 bits per byte at the given rate),
// and received bytes are taken at that pace too. All public members may be
// called from any thread.
#pragma once

#include "RadioProtocol.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct VirtualRadioOptions {
    uint32_t baud = 9600;
    bool pacing = true;
    std::string imagePath;  // raw image file: loaded at start if present, saved after every write
    std::string linkPath;   // symlink made to the terminal side, removed at stop
};

class VirtualRadio {
public:
    explicit VirtualRadio(VirtualRadioOptions options = {});
    ~VirtualRadio();
    VirtualRadio(const VirtualRadio&) = delete;
    VirtualRadio& operator=(const VirtualRadio&) = delete;

    // Opens the pseudo-terminal and starts serving; std::runtime_error on failure.
    void start();
    // Stops serving and closes the pseudo-terminal; harmless when stopped.
    void stop();
    bool running() const { return thread_.joinable(); }
    // The terminal side's path (valid after start).
    std::string path() const;

    zk::RadioImage memory() const;
    void setMemory(const zk::RadioImage& memory);
    std::vector<uint8_t> readMemory(uint16_t address, size_t length) const;
    void writeMemory(uint16_t address, const std::vector<uint8_t>& bytes);

    RadioFaults faults() const;
    void setFaults(const RadioFaults& faults);

    // Every byte taken from the line and every byte put on it, in order.
    std::vector<uint8_t> received() const;
    std::vector<uint8_t> sent() const;
    void clearLog();
    int sessionsEnded() const;
    int commandsServed() const;

    // Called on the radio's thread with a line of text for each command.
    void setTrace(std::function<void(const std::string&)> trace);

private:
    using Clock = std::chrono::steady_clock;
    struct Pending {
        Clock::time_point due;
        uint8_t byte;
    };

    void run();
    void takeBytes(const uint8_t* bytes, size_t count, Clock::time_point now);
    void sendDue(Clock::time_point now);
    Clock::duration byteTime() const;

    const VirtualRadioOptions options_;
    int master_ = -1;
    int slave_ = -1;
    int wake_ = -1;
    std::string path_;
    std::thread thread_;

    mutable std::mutex lock_;  // everything below
    zk::RadioImage memory_;
    RadioFaults faults_;
    RadioProtocol protocol_;
    std::vector<uint8_t> received_;
    std::vector<uint8_t> sent_;
    std::function<void(const std::string&)> trace_;

    // Radio thread only.
    std::deque<Pending> outgoing_;
    Clock::time_point rxClock_{};
    Clock::time_point txClock_{};
    Clock::time_point lastByte_{};
};
