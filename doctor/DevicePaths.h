#pragma once
// Facts about the path of a serial device: whether two paths name one
// device, and where in sysfs its tty device and the USB device above it sit.
#include <filesystem>
#include <string>

namespace zk {

// Two paths name one device: the same text, or the same file once their
// symbolic links are followed (a by-id link and the node it leads to).
bool sameDevice(const std::string& a, const std::string& b);

// The tty's device folder, <sysRoot>/class/tty/<name>/device with its links
// followed. The name is the kernel's: that of the node the path's links lead
// to when sysfs knows it, else the path's own. Empty when there is none (a
// pseudo-terminal, a name sysfs does not list).
std::filesystem::path ttyDeviceFolder(const std::string& path, const std::string& sysRoot);

// The USB device a tty's device folder belongs to: the nearest folder above
// it, inside sysRoot, with a vendor id. Empty when it is no USB device.
std::filesystem::path usbDeviceFolder(const std::filesystem::path& ttyDevice, const std::string& sysRoot);

} // namespace zk
