#pragma once
// The computer's serial ports, as device paths that OpenPort accepts.
#include <string>
#include <vector>

class CommTap;

namespace zk {

class PortEventSource;

// Reads the serial devices from sysfs: /dev/ttyS* that really exist (the
// kernel lists every legacy UART slot, present or not), and every
// /dev/ttyUSB*, /dev/ttyACM*, /dev/ttyAMA* and /dev/rfcomm* with a device
// behind it. The kernel's active consoles are never listed: a programming
// tool must not touch the console line. The roots can point at a tree made
// by a test.
std::vector<std::string> enumerateSerialPorts(const std::string& sysRoot = "/sys",
                                              const std::string& devRoot = "/dev");

// The device names (as "ttyS0") of the kernel's active consoles, from
// <sysRoot>/class/tty/console/active.
std::vector<std::string> activeConsoles(const std::string& sysRoot = "/sys");

// True when path (a symbolic link is followed) is an active console.
bool isConsolePort(const std::string& path, const std::string& sysRoot = "/sys");

// The index of the first port that is not a console, -1 when there is none:
// the one a program may open without being told to.
int firstNonConsole(const std::vector<std::string>& ports, const std::string& sysRoot = "/sys");

// Sorts paths as text, ignoring letter case, so ttyUSB10 precedes ttyUSB2.
void sortPortNames(std::vector<std::string>& names);

// Where the port list comes from: the computer's serial devices, plus paths
// named on the command line (virtual ports such as the virtual radio's).
struct PortSources {
    std::string sysRoot = "/sys";
    std::string devRoot = "/dev";
    std::vector<std::string> extraPorts;
    // Watches the port that is opened from this list (the serial trace);
    // not owned, none when null.
    CommTap* tap = nullptr;
    // Tells when serial devices come and go; not owned, none when null.
    PortEventSource* events = nullptr;
};

// The computer's ports and the extra paths (made absolute), sorted as text
// ignoring case, each once. An extra path is listed even when it is a
// console: the user named it.
std::vector<std::string> portChoices(const PortSources& sources);

} // namespace zk
