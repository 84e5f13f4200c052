#include "DeviceInfo.h"

#include "DevicePaths.h"
#include "Trimmed.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace zk {

namespace {

std::string trimmedFileText(const fs::path& file)
{
    return trimmed(readTextFile(file.string()), kBlanksAndLineEnds);
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
    const fs::path deviceDir = ttyDeviceFolder(path, view.sysRoot);
    if (deviceDir.empty())
        return info;
    std::error_code ec;
    const fs::path driver = fs::read_symlink(deviceDir / "driver", ec);
    if (!ec)
        info.driver = driver.filename().string();
    const fs::path usb = usbDeviceFolder(deviceDir, view.sysRoot);
    if (usb.empty())
        return info;
    info.usb = true;
    info.vendorId = trimmedFileText(usb / "idVendor");
    info.productId = trimmedFileText(usb / "idProduct");
    info.manufacturer = trimmedFileText(usb / "manufacturer");
    info.product = trimmedFileText(usb / "product");
    info.serial = trimmedFileText(usb / "serial");
    info.usbPath = usb.filename().string();
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
