#include "AdapterSerial.h"

#include <filesystem>
#include <fstream>

namespace zk {

namespace fs = std::filesystem;

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
        return serial;
    }
    return {};
}

} // namespace zk
