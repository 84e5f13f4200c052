#include "ReadTimeouts.h"

#include <algorithm>

using namespace std::chrono;

void ReadBlockTimer::begin(const TCommTimeouts& t, Clock::time_point now, size_t requested)
{
    requested_ = requested;
    interval_ = 0;
    hasTotal_ = false;
    if (t.ReadIntervalTimeout == MAXDWORD && t.ReadTotalTimeoutMultiplier == 0 && t.ReadTotalTimeoutConstant == 0) {
        mode_ = Mode::Immediate;
        return;
    }
    if (t.ReadIntervalTimeout == MAXDWORD && t.ReadTotalTimeoutMultiplier == MAXDWORD &&
        t.ReadTotalTimeoutConstant != 0 && t.ReadTotalTimeoutConstant != MAXDWORD) {
        mode_ = Mode::FirstByte;
        hasTotal_ = true;
        totalDeadline_ = now + milliseconds(t.ReadTotalTimeoutConstant);
        return;
    }
    mode_ = Mode::Normal;
    interval_ = t.ReadIntervalTimeout;
    const uint64_t total = uint64_t(t.ReadTotalTimeoutMultiplier) * requested + t.ReadTotalTimeoutConstant;
    if (total != 0) {
        hasTotal_ = true;
        totalDeadline_ = now + milliseconds(static_cast<milliseconds::rep>(total));
    }
}

void ReadBlockTimer::onBytes(Clock::time_point now)
{
    lastByte_ = now;
}

bool ReadBlockTimer::complete(Clock::time_point now, size_t got) const
{
    if (got >= requested_)
        return true;
    switch (mode_) {
    case Mode::Immediate: return got > 0;
    case Mode::FirstByte: return got > 0 || now >= totalDeadline_;
    case Mode::Normal: break;
    }
    if (hasTotal_ && now >= totalDeadline_)
        return true;
    return interval_ != 0 && got > 0 && now - lastByte_ >= milliseconds(interval_);
}

int ReadBlockTimer::waitMs(Clock::time_point now, size_t got) const
{
    if (complete(now, got))
        return 0;
    // Round up so a wake-up never comes before the deadline.
    auto until = [now](Clock::time_point deadline) {
        const auto left = ceil<milliseconds>(deadline - now).count();
        return static_cast<int>(std::clamp<long long>(left, 0, 24LL * 3600 * 1000));
    };
    int wait = -1;
    if (hasTotal_)
        wait = until(totalDeadline_);
    if (mode_ == Mode::Normal && interval_ != 0 && got > 0) {
        const int pause = until(lastByte_ + milliseconds(interval_));
        wait = wait < 0 ? pause : std::min(wait, pause);
    }
    return wait;
}
