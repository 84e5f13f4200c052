#pragma once
// Port sources for windows under test: none of the machine's real serial
// devices, so no test ever opens one by accident.
#include "SerialPortList.h"

namespace zk::test {

inline PortSources noSerialPorts(std::vector<std::string> extraPorts = {})
{
    return PortSources{"/nonexistent/sys", "/nonexistent/dev", std::move(extraPorts)};
}

} // namespace zk::test
