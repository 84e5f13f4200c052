#include "AdapterSerial.h"

#include "DevicePaths.h"
#include "VisibleText.h"

#include <filesystem>
#include <fstream>

namespace zk {

namespace fs = std::filesystem;

namespace {

// The adapter chooses these bytes: escape sequences must not reach the
// terminal, and a space would split the station line's fields.
std::string printableSerial(const std::string& serial)
{
    std::string printable;
    for (const char c : visibleText(serial))
        printable += c == ' ' ? std::string("\\x20") : std::string(1, c);
    return printable;
}

} // namespace

std::string adapterSerialNumber(const std::string& portPath, const std::string& sysRoot)
{
    const fs::path usb = usbDeviceFolder(ttyDeviceFolder(portPath, sysRoot), sysRoot);
    if (usb.empty())
        return {};
    std::ifstream file(usb / "serial");
    std::string serial;
    std::getline(file, serial);
    return printableSerial(serial);
}

} // namespace zk
