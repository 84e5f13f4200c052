#pragma once
// The computer's serial ports, as device paths that OpenPort accepts.
#include <string>
#include <vector>

namespace zk {

// Reads the serial devices from sysfs: /dev/ttyS* that really exist (the
// kernel lists every legacy UART slot, present or not), and every
// /dev/ttyUSB*, /dev/ttyACM*, /dev/ttyAMA* and /dev/rfcomm* with a device
// behind it. The roots can point at a tree made by a test.
std::vector<std::string> enumerateSerialPorts(const std::string& sysRoot = "/sys",
                                              const std::string& devRoot = "/dev");

// Sorts paths as text, ignoring letter case, so ttyUSB10 precedes ttyUSB2.
void sortPortNames(std::vector<std::string>& names);

// Where the port list comes from: the computer's serial devices, plus paths
// named on the command line (virtual ports such as the virtual radio's).
struct PortSources {
    std::string sysRoot = "/sys";
    std::string devRoot = "/dev";
    std::vector<std::string> extraPorts;
};

// The computer's ports and the extra paths (made absolute), sorted as text
// ignoring case, each once.
std::vector<std::string> portChoices(const PortSources& sources);

} // namespace zk
