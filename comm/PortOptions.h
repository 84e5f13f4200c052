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
        std::lock_guard guard(lock_);
        timeouts_ = timeouts;
    }
    TCommTimeouts timeouts() const
    {
        std::lock_guard guard(lock_);
        return timeouts_;
    }
    void setStripNulls(bool on) { stripNulls_.store(on, std::memory_order_relaxed); }
    bool stripNulls() const { return stripNulls_.load(std::memory_order_relaxed); }

private:
    mutable std::mutex lock_;
    TCommTimeouts timeouts_;
    std::atomic<bool> stripNulls_{false};
};
