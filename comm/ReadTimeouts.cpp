#include "ReadTimeouts.h"

#include <algorithm>

using namespace std::chrono;

void ReadBlockTimer::begin(const TCommTimeouts& t, Clock::time_point now, size_t requested)
{
    m_requested = requested;
    m_interval = 0;
    m_hasTotal = false;
    if (t.ReadIntervalTimeout == MAXDWORD && t.ReadTotalTimeoutMultiplier == 0 && t.ReadTotalTimeoutConstant == 0) {
        m_mode = Mode::Immediate;
        return;
    }
    if (t.ReadIntervalTimeout == MAXDWORD && t.ReadTotalTimeoutMultiplier == MAXDWORD &&
        t.ReadTotalTimeoutConstant != 0 && t.ReadTotalTimeoutConstant != MAXDWORD) {
        m_mode = Mode::FirstByte;
        m_hasTotal = true;
        m_totalDeadline = now + milliseconds(t.ReadTotalTimeoutConstant);
        return;
    }
    m_mode = Mode::Normal;
    m_interval = t.ReadIntervalTimeout;
    const uint64_t total = uint64_t(t.ReadTotalTimeoutMultiplier) * requested + t.ReadTotalTimeoutConstant;
    if (total != 0) {
        m_hasTotal = true;
        m_totalDeadline = now + milliseconds(static_cast<milliseconds::rep>(total));
    }
}

void ReadBlockTimer::onBytes(Clock::time_point now)
{
    m_lastByte = now;
}

bool ReadBlockTimer::complete(Clock::time_point now, size_t got) const
{
    if (got >= m_requested)
        return true;
    switch (m_mode) {
    case Mode::Immediate: return got > 0;
    case Mode::FirstByte: return got > 0 || now >= m_totalDeadline;
    case Mode::Normal: break;
    }
    if (m_hasTotal && now >= m_totalDeadline)
        return true;
    return m_interval != 0 && got > 0 && now - m_lastByte >= milliseconds(m_interval);
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
    if (m_hasTotal)
        wait = until(m_totalDeadline);
    if (m_mode == Mode::Normal && m_interval != 0 && got > 0) {
        const int pause = until(m_lastByte + milliseconds(m_interval));
        wait = wait < 0 ? pause : std::min(wait, pause);
    }
    return wait;
}
