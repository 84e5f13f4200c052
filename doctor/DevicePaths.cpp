#include "DevicePaths.h"

#include <system_error>

namespace fs = std::filesystem;

namespace zk {

bool sameDevice(const std::string& a, const std::string& b)
{
    if (a == b)
        return true;
    std::error_code errorA;
    std::error_code errorB;
    const fs::path deviceA = fs::weakly_canonical(a, errorA);
    const fs::path deviceB = fs::weakly_canonical(b, errorB);
    return !errorA && !errorB && deviceA == deviceB;
}

fs::path ttyDeviceFolder(const std::string& path, const std::string& sysRoot)
{
    std::error_code ec;
    const fs::path ttys = fs::path(sysRoot) / "class" / "tty";
    // A link such as /dev/serial/by-id/... names the device it leads to.
    const fs::path resolved = fs::weakly_canonical(path, ec);
    std::string name = fs::path(path).filename().string();
    if (!ec && !resolved.filename().empty() && fs::exists(ttys / resolved.filename(), ec))
        name = resolved.filename().string();
    if (name.empty())
        return {};
    const fs::path device = fs::canonical(ttys / name / "device", ec);
    return ec ? fs::path() : device;
}

fs::path usbDeviceFolder(const fs::path& ttyDevice, const std::string& sysRoot)
{
    std::error_code ec;
    const fs::path top = fs::weakly_canonical(sysRoot, ec);
    if (ec || ttyDevice.empty())
        return {};
    for (fs::path dir = ttyDevice; dir != top && dir.has_relative_path(); dir = dir.parent_path())
        if (fs::exists(dir / "idVendor", ec))
            return dir;
    return {};
}

} // namespace zk
