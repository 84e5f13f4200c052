// Records every event a TComm raises, in the order raised, and waits for
// conditions while the Qt event loop runs.
#pragma once

#include "TComm.h"

#include <QCoreApplication>
#include <QtCore/qtestsupport_core.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

struct CommEventLog {
    struct Entry {
        char kind;  // 'D' data, 'E' error, 'M' modem, 'H' hangup, 'S' send-empty
        uint32_t value = 0;
        std::vector<uint8_t> bytes;
        std::chrono::steady_clock::time_point at;
    };
    std::vector<Entry> entries;

    explicit CommEventLog(TComm& comm)
    {
        comm.OnReceiveData = [this](TComm*, const void* buffer, uint16_t length) {
            const auto* p = static_cast<const uint8_t*>(buffer);
            terminatorOk = terminatorOk && p[length] == 0;
            add('D', length, std::vector<uint8_t>(p, p + length));
        };
        comm.OnReceiveError = [this](TComm*, uint32_t mask) { add('E', mask); };
        comm.OnModemStateChange = [this](TComm*, uint32_t bits) { add('M', bits); };
        comm.OnRequestHangup = [this](TComm*) { add('H'); };
        comm.OnSendDataEmpty = [this](TComm*) { add('S'); };
    }

    void add(char kind, uint32_t value = 0, std::vector<uint8_t> bytes = {})
    {
        entries.push_back({kind, value, std::move(bytes), std::chrono::steady_clock::now()});
    }

    int count(char kind) const
    {
        int n = 0;
        for (const auto& e : entries)
            n += e.kind == kind;
        return n;
    }
    std::vector<const Entry*> of(char kind) const
    {
        std::vector<const Entry*> out;
        for (const auto& e : entries)
            if (e.kind == kind)
                out.push_back(&e);
        return out;
    }
    std::vector<uint8_t> received() const
    {
        std::vector<uint8_t> all;
        for (const auto& e : entries)
            if (e.kind == 'D')
                all.insert(all.end(), e.bytes.begin(), e.bytes.end());
        return all;
    }
    std::string kinds() const
    {
        std::string s;
        for (const auto& e : entries)
            s += e.kind;
        return s;
    }

    bool terminatorOk = true;
};

// Runs the event loop until pred holds, at most `ms` milliseconds.
template <class Pred>
bool waitUntil(Pred pred, int ms = 5000)
{
    return QTest::qWaitFor(pred, ms);
}

// Runs the event loop for a while, to show that something does NOT happen.
inline void settle(int ms = 250)
{
    QTest::qWait(ms);
}
