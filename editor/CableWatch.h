#pragma once
// Which cable the window's port is on, and what a device coming or going
// means for it: the open port's device gone, or the same cable back after
// an unplug, perhaps under another name. No widgets and no port.
#include "DeviceInfo.h"
#include "SystemView.h"

#include <optional>
#include <string>

namespace zk {

class CableWatch {
public:
    explicit CableWatch(SystemView view) : view_(std::move(view)) {}

    // The port was opened on this device; nothing is awaited any more.
    void opened(const std::string& name);
    // The open port's device went away: its cable is awaited back. False,
    // changing nothing, when no device was open (a second notice of the
    // same unplug, or one about an opening closed since).
    bool unplugged();

    bool portOpen() const { return open_.has_value(); }
    // A removed device node is the open port's.
    static bool removes(const std::string& devNode, const std::string& openName);
    // An added device node is the cable awaited back.
    bool bringsBack(const std::string& devNode) const;

private:
    SystemView view_;
    std::optional<SerialDeviceInfo> open_;
    std::optional<SerialDeviceInfo> awaited_;
};

} // namespace zk
