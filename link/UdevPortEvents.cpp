#include "UdevPortEvents.h"

#include <QSocketNotifier>

#include <cstring>
#include <libudev.h>

namespace zk {

namespace {

class UdevPortEvents final : public PortEventSource {
public:
    UdevPortEvents(udev* context, udev_monitor* monitor)
        : context_(context)
        , monitor_(monitor)
        , notifier_(udev_monitor_get_fd(monitor), QSocketNotifier::Read)
    {
        QObject::connect(&notifier_, &QSocketNotifier::activated, [this] { receive(); });
    }

    ~UdevPortEvents() override
    {
        notifier_.setEnabled(false);
        udev_monitor_unref(monitor_);
        udev_unref(context_);
    }

private:
    void receive()
    {
        while (udev_device* device = udev_monitor_receive_device(monitor_)) {
            const char* action = udev_device_get_action(device);
            const char* node = udev_device_get_devnode(device);
            if (action && node) {
                if (std::strcmp(action, "add") == 0)
                    deliver({PortEvent::Kind::Added, node});
                else if (std::strcmp(action, "remove") == 0)
                    deliver({PortEvent::Kind::Removed, node});
            }
            udev_device_unref(device);
        }
    }

    udev* context_;
    udev_monitor* monitor_;
    QSocketNotifier notifier_;
};

} // namespace

std::unique_ptr<PortEventSource> createUdevPortEvents()
{
    udev* context = udev_new();
    if (!context)
        return nullptr;
    udev_monitor* monitor = udev_monitor_new_from_netlink(context, "udev");
    if (!monitor || udev_monitor_filter_add_match_subsystem_devtype(monitor, "tty", nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor) < 0) {
        if (monitor)
            udev_monitor_unref(monitor);
        udev_unref(context);
        return nullptr;
    }
    return std::make_unique<UdevPortEvents>(context, monitor);
}

} // namespace zk
