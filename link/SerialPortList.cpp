#include "SerialPortList.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

namespace zk {

namespace {

bool startsWith(const std::string& text, const std::string& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

// A legacy UART slot without hardware reports port type 0 (unknown).
bool uartPresent(const fs::path& ttyEntry)
{
    std::ifstream type(ttyEntry / "type");
    int value = 0;
    return type >> value && value != 0;
}

bool isSerialName(const std::string& name)
{
    for (const char* prefix : {"ttyUSB", "ttyACM", "ttyAMA", "rfcomm", "ttyS"})
        if (startsWith(name, prefix))
            return true;
    return false;
}

} // namespace

std::vector<std::string> enumerateSerialPorts(const std::string& sysRoot, const std::string& devRoot)
{
    std::vector<std::string> ports;
    std::error_code ec;
    fs::directory_iterator entries(fs::path(sysRoot) / "class" / "tty", ec);
    if (ec)
        return ports;
    for (const auto& entry : entries) {
        const std::string name = entry.path().filename().string();
        if (!isSerialName(name))
            continue;
        if (!fs::exists(entry.path() / "device", ec))
            continue; // virtual terminals and the like have no device behind them
        if (startsWith(name, "ttyS") && !uartPresent(entry.path()))
            continue;
        const fs::path node = fs::path(devRoot) / name;
        if (fs::exists(node, ec))
            ports.push_back(node.string());
    }
    sortPortNames(ports);
    return ports;
}

std::vector<std::string> portChoices(const PortSources& sources)
{
    std::vector<std::string> ports = enumerateSerialPorts(sources.sysRoot, sources.devRoot);
    for (const std::string& extra : sources.extraPorts) {
        std::error_code ec;
        const fs::path absolute = fs::absolute(extra, ec);
        const std::string path = ec ? extra : absolute.lexically_normal().string();
        if (std::find(ports.begin(), ports.end(), path) == ports.end())
            ports.push_back(path);
    }
    sortPortNames(ports);
    return ports;
}

void sortPortNames(std::vector<std::string>& names)
{
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
            return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
        });
    });
}

} // namespace zk
