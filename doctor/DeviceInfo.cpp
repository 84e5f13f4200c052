#include "DeviceInfo.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace zk {

namespace {

std::string trimmedFileText(const fs::path& file)
{
    return trimmed(readTextFile(file.string()));
}

} // namespace

bool SerialDeviceInfo::sameAdapter(const SerialDeviceInfo& other) const
{
    if (usb != other.usb)
        return false;
    if (!usb)
        return path == other.path;
    if (!serial.empty() && vendorId == other.vendorId && productId == other.productId && serial == other.serial)
        return true;
    return !usbPath.empty() && usbPath == other.usbPath;
}

SerialDeviceInfo describeDevice(const std::string& path, const SystemView& view)
{
    SerialDeviceInfo info;
    info.path = path;
    std::error_code ec;
    // A link such as /dev/serial/by-id/... names the device it points at.
    const fs::path ttys = fs::path(view.sysRoot) / "class" / "tty";
    const fs::path resolved = fs::weakly_canonical(path, ec);
    // The kernel's name, as ttyUSB0.
    std::string name = fs::path(path).filename().string();
    if (!ec && fs::exists(ttys / resolved.filename(), ec))
        name = resolved.filename().string();

    const fs::path deviceDir = fs::canonical(ttys / name / "device", ec);
    if (ec)
        return info;
    const fs::path driver = fs::read_symlink(deviceDir / "driver", ec);
    if (!ec)
        info.driver = driver.filename().string();
    // The USB device is the nearest folder above the interface with ids.
    for (fs::path dir = deviceDir; !dir.empty() && dir != dir.root_path(); dir = dir.parent_path()) {
        if (!fs::exists(dir / "idVendor", ec))
            continue;
        info.usb = true;
        info.vendorId = trimmedFileText(dir / "idVendor");
        info.productId = trimmedFileText(dir / "idProduct");
        info.manufacturer = trimmedFileText(dir / "manufacturer");
        info.product = trimmedFileText(dir / "product");
        info.serial = trimmedFileText(dir / "serial");
        info.usbPath = dir.filename().string();
        break;
    }
    return info;
}

std::string udevRule(const SerialDeviceInfo& info)
{
    if (!info.usb || info.vendorId.empty() || info.productId.empty())
        return {};
    return "SUBSYSTEM==\"tty\", ATTRS{idVendor}==\"" + info.vendorId + "\", ATTRS{idProduct}==\"" + info.productId +
           "\", TAG+=\"uaccess\", ENV{ID_MM_DEVICE_IGNORE}=\"1\"";
}

} // namespace zk
