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

} // namespace zk::port
