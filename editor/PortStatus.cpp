#include "PortStatus.h"

namespace zk::port {

bool statusShowsOpenPort(const std::string& status)
{
    return status.find(std::string(kCaption) + "/") != std::string::npos;
}

std::string statusAfterOpen(bool opened, const std::string& portName)
{
    return std::string(kCaption) + (opened ? portName : std::string(kPortUsed));
}

std::string unplugged(const std::string& portName)
{
    return "The cable on " + portName + " was unplugged. It is opened again when the same cable comes back.";
}

std::string consoleNotOpened(const std::string& portName)
{
    return portName + " is the system console, so it was not opened by itself. Pick it in the list to use it anyway.";
}

} // namespace zk::port
