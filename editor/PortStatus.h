#pragma once
// The port status text in the first status panel, and what the port choice
// reads from it. Plain texts, no widgets.
#include <string>

namespace zk::port {

inline constexpr const char* kCaption = "Serial Port:"; // Label1's caption
inline constexpr const char* kNoPort = "No Port!";
inline constexpr const char* kPortUsed = "The Port is Used";

// The status says a port was opened last: the caption followed by a device
// path, as in "Serial Port:/dev/ttyUSB0". Port names here are paths, so the
// test looks for the caption followed by "/".
bool statusShowsOpenPort(const std::string& status);

// The tooltip when the only ports are consoles, which are never opened
// without the user's pick.
std::string consoleNotOpened(const std::string& portName);

// The tooltip after the open port's device went away.
std::string unplugged(const std::string& portName);

// The status after an attempt to open portName.
std::string statusAfterOpen(bool opened, const std::string& portName);

} // namespace zk::port
