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

std::vector<std::string> activeConsoles(const std::string& sysRoot)
{
    std::ifstream active(fs::path(sysRoot) / "class" / "tty" / "console" / "active");
    std::vector<std::string> names;
    for (std::string name; active >> name;)
        names.push_back(name);
    return names;
}

bool isConsolePort(const std::string& path, const std::string& sysRoot)
{
    // The name as given and the device a link points at both count.
    std::error_code ec;
    const fs::path resolved = fs::weakly_canonical(path, ec);
    const std::vector<std::string> consoles = activeConsoles(sysRoot);
    for (const fs::path& candidate : {fs::path(path), ec ? fs::path(path) : resolved}) {
        const std::string name = candidate.filename().string();
        if (name == "console" || std::find(consoles.begin(), consoles.end(), name) != consoles.end())
            return true;
    }
    return false;
}

std::vector<std::string> enumerateSerialPorts(const std::string& sysRoot, const std::string& devRoot)
{
    std::vector<std::string> ports;
    std::error_code ec;
    fs::directory_iterator entries(fs::path(sysRoot) / "class" / "tty", ec);
    if (ec)
        return ports;
    const std::vector<std::string> consoles = activeConsoles(sysRoot);
    for (const auto& entry : entries) {
        const std::string name = entry.path().filename().string();
        if (!isSerialName(name) || std::find(consoles.begin(), consoles.end(), name) != consoles.end())
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

int firstNonConsole(const std::vector<std::string>& ports, const std::string& sysRoot)
{
    for (std::size_t i = 0; i < ports.size(); ++i)
        if (!isConsolePort(ports[i], sysRoot))
            return static_cast<int>(i);
    return -1;
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
