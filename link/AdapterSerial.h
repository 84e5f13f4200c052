#pragma once
// The USB serial number of the adapter behind a serial port, from sysfs,
// so a station's log tells which cable a result belongs to.
#include <string>

namespace zk {

// Follows the path's links to the device node, then the tty's device in
// <sysRoot>/class/tty up to its USB device and reads its "serial". Empty
// when there is none (a built-in port, a pseudo-terminal, an adapter
// without a serial number). Control characters, bytes that are not UTF-8
// and spaces come as escapes ("\x1B", "\x20"), so the text is one field
// that is safe to print.
std::string adapterSerialNumber(const std::string& portPath, const std::string& sysRoot = "/sys");

} // namespace zk
