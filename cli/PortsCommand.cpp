// ports: the serial ports a radio could be on.
#include "Commands.h"
#include "Options.h"
#include "SerialPortList.h"

#include <cstdlib>
#include <iostream>

namespace zk::cli {

namespace {

constexpr const char* kUsage =
    "Usage: zk-h41-cli ports\n"
    "\n"
    "Prints the device paths of the computer's serial ports, one per line,\n"
    "sorted as text; any of them can be given to read and write as --port.\n"
    "The kernel's consoles (/sys/class/tty/console/active) are left out.\n"
    "When there is none, nothing is printed and \"No serial port found.\" goes\n"
    "to standard error; the exit status is 0 either way.\n";

// The tests list a prepared tree instead of the machine's own; nothing is
// opened here, so another root can only change what is listed.
std::string rootFromEnvironment(const char* name, const char* system)
{
    const char* root = std::getenv(name);
    return root && *root ? root : system;
}

int runPorts(const Arguments& args)
{
    refuseArguments(args);
    const std::vector<std::string> ports = enumerateSerialPorts(rootFromEnvironment("ZK_H41_SYS_ROOT", "/sys"),
                                                                rootFromEnvironment("ZK_H41_DEV_ROOT", "/dev"));
    if (ports.empty())
        std::cerr << "No serial port found.\n";
    for (const std::string& port : ports)
        std::cout << port << '\n';
    return kExitSuccess;
}

} // namespace

const Command kPortsCommand{"ports", kUsage, runPorts};

} // namespace zk::cli
