#include "AdapterSerial.h"

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
    std::error_code error;
    const fs::path node = fs::weakly_canonical(portPath, error);
    if (error)
        return {};
    fs::path device = fs::canonical(fs::path(sysRoot) / "class" / "tty" / node.filename() / "device", error);
    if (error)
        return {};
    const fs::path top = fs::canonical(sysRoot, error);
    // Up from the port's device to the USB device (the one with a vendor id).
    for (; !error && device != top && device.has_relative_path(); device = device.parent_path()) {
        if (!fs::exists(device / "idVendor", error))
            continue;
        std::ifstream file(device / "serial");
        std::string serial;
        std::getline(file, serial);
        return printableSerial(serial);
    }
    return {};
}

} // namespace zk
