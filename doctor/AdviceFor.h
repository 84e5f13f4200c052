// Who reads a remedy: someone at a shell, pointed at the command-line
// tool's commands, or a desktop user, pointed at the window's menus.
#pragma once

namespace zk {

enum class AdviceFor { CommandLine, Desktop };

} // namespace zk
