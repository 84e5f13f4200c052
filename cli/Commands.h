#pragma once
// The subcommands main() dispatches to. Each prints its own help for
// --help, throws UsageError for wrong usage and zk::AppError for failures,
// and returns the exit status otherwise.
#include "Usage.h"

namespace zk::cli {

struct Command {
    const char* name;
    const char* usage; // printed for "<name> --help" and after a usage error
    int (*run)(const Arguments& args);
};

extern const Command kShowCommand;
extern const Command kEncodeCommand;
extern const Command kDecodeCommand;
extern const Command kPortsCommand;
extern const Command kReadCommand;
extern const Command kWriteCommand;
extern const Command kDoctorCommand;
extern const Command kImportCommand;
extern const Command kExportCommand;
extern const Command kVerifyCommand;
extern const Command kBackupCommand;
extern const Command kRestoreCommand;
extern const Command kStationCommand;

} // namespace zk::cli
