// Serial devices coming and going. The source is a seam: the real one is
// libudev's monitor (UdevPortEvents.h); tests deliver events themselves.
#pragma once

#include <functional>
#include <string>

namespace zk {

struct PortEvent {
    enum class Kind { Added, Removed };
    Kind kind = Kind::Added;
    std::string devNode; // as /dev/ttyUSB0
};

class PortEventSource {
public:
    virtual ~PortEventSource() = default;

    // Runs on the thread that owns the source, once per event.
    std::function<void(const PortEvent&)> onEvent;

    void deliver(const PortEvent& event)
    {
        if (onEvent)
            onEvent(event);
    }
};

} // namespace zk
