#pragma once
// The radio procedures as per-port procedures for several radios at once
// and for the station: the write with its optional backup before and verify
// after, verify, and backup. Each port's results go into its PortResult,
// nothing is printed.
#include "ChannelTable.h"
#include "Fleet.h"
#include "RadioSteps.h"

#include <string>
#include <vector>

namespace zk::cli {

// With safety.backupFolder, the radio's memory first goes into a new image
// in a folder of its own per port (DIR/ttyUSB0/radio-DATE.img); with
// safety.verify the radio is read back and compared with the plan, and any
// difference makes the radio's result a failure.
PortProcedure writeProcedure(const ChannelTable& plan, const std::string& planName, const SafetyOptions& safety);
// Before any radio is touched: a usage error when two of the ports would
// keep their backups in one folder (the same device name in two folders),
// where parallel backups would take one file name and one would be lost.
void checkBackupFolders(const std::vector<std::string>& ports, const SafetyOptions& safety);

// Reads the radio and compares it with the plan.
PortProcedure verifyProcedure(const ChannelTable& plan, const std::string& planName);

// The radio's memory into the port's image file, as files() gives it.
PortProcedure backupProcedure(const std::vector<std::string>& ports, const std::vector<std::string>& files);

// One file per port in the existing folder, named after the device with the
// extension (".bc"); a usage error when the folder does not exist or two
// ports would share a file.
std::vector<std::string> filePerPort(const std::vector<std::string>& ports, const std::string& folder,
                                     const std::string& extension);

// The file for context's port out of filePerPort's list.
const std::string& fileOfPort(const std::vector<std::string>& ports, const std::vector<std::string>& files,
                              const std::string& port);

} // namespace zk::cli
