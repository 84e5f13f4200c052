// When a read of the reader ends, by the time-out rules: the interval is
// the longest pause between two bytes once one has come, the total is
// multiplier x bytes requested + constant from the start of the read, 0
// means "not used". Two special cases: interval MAXDWORD with both totals
// 0 returns at once with what is there; interval and multiplier MAXDWORD
// with a constant returns as soon as anything is there, or empty after the
// constant.
#pragma once

#include "CommTypes.h"

#include <chrono>
#include <cstddef>

class ReadBlockTimer {
public:
    using Clock = std::chrono::steady_clock;

    // Starts a read of `requested` bytes at `now`.
    void begin(const TCommTimeouts& timeouts, Clock::time_point now, size_t requested);
    // Bytes arrived at `now`; `got` is the total of the read so far.
    void onBytes(Clock::time_point now);

    // True when the read is complete with `got` bytes at `now` (full,
    // pause, total or an immediate mode). A complete read with 0 bytes is
    // an empty completion.
    bool complete(Clock::time_point now, size_t got) const;
    // How long to wait for more bytes before complete() can turn true by
    // time alone, in ms rounded up; -1 for no limit.
    int waitMs(Clock::time_point now, size_t got) const;

private:
    enum class Mode { Normal, Immediate, FirstByte };
    Mode mode_ = Mode::Normal;
    size_t requested_ = 0;
    bool hasTotal_ = false;
    Clock::time_point totalDeadline_;
    uint32_t interval_ = 0;
    Clock::time_point lastByte_;
};
