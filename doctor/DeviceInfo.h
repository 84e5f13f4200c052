// What a serial device is, from sysfs: its driver and, for a USB adapter,
// the vendor and product ids, the product and serial strings and where on
// the USB it sits. Also the identity by which a re-plugged adapter is known.
#pragma once

#include "SystemView.h"

#include <string>

namespace zk {

struct SerialDeviceInfo {
    std::string path;   // as asked for
    std::string driver; // as ch341-uart; empty when unknown
    bool usb = false;
    std::string vendorId; // four hex digits
    std::string productId;
    std::string manufacturer;
    std::string product;
    std::string serial;
    std::string usbPath; // the port on the USB, as 1-1.2

    // The same adapter: same vendor, product and serial number, or the same
    // place on the USB; a device that is no USB adapter only by its path.
    bool sameAdapter(const SerialDeviceInfo& other) const;
};

// Reads <sysRoot>/class/tty/<name>/device for the device path (a symbolic
// link is followed to find the name).
SerialDeviceInfo describeDevice(const std::string& path, const SystemView& view);

// The udev rule that gives the logged-in user access to this adapter and
// keeps modem managers away from it; empty when it is no USB adapter.
std::string udevRule(const SerialDeviceInfo& info);

} // namespace zk
