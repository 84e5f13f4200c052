// Settings of the open port that the reader applies itself (Linux has no
// driver support for them): the read time-outs and null stripping. The
// component writes them, the reader reads them at every read it starts.
#pragma once

#include "CommTypes.h"

#include <atomic>
#include <mutex>

class PortOptions {
public:
    void setTimeouts(const TCommTimeouts& timeouts)
    {
        std::lock_guard guard(m_lock);
        m_timeouts = timeouts;
    }
    TCommTimeouts timeouts() const
    {
        std::lock_guard guard(m_lock);
        return m_timeouts;
    }
    void setStripNulls(bool on) { m_stripNulls.store(on, std::memory_order_relaxed); }
    bool stripNulls() const { return m_stripNulls.load(std::memory_order_relaxed); }

private:
    mutable std::mutex m_lock;
    TCommTimeouts m_timeouts;
    std::atomic<bool> m_stripNulls{false};
};
