#pragma once
// The radio procedures as per-port procedures for several radios at once
// and for the station: the write with its optional backup before and verify
// after, verify, and backup, each with a file per port where it keeps one.
// Each port's outcome goes into its PortResult; nothing is printed.
#include "ChannelTable.h"
#include "Fleet.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace zk {

// Ports that cannot go together (two would share a file): refused before
// any radio is touched.
class PortListError : public std::invalid_argument {
public:
    using std::invalid_argument::invalid_argument;
};

// What a write may add around itself.
struct SafetyOptions {
    bool verify = false;       // read back and compare with the plan
    std::string backupFolder;  // keep the radio's memory first, when not empty
};

// With safety.backupFolder, the radio's memory first goes into a new image
// in a folder of its own per port (DIR/ttyUSB0/radio-DATE.img); with
// safety.verify the radio is read back and compared with the plan: a match
// adds "verified against PLAN", any difference makes the radio's result a
// failure that lists them.
PortProcedure writeProcedure(const ChannelTable& plan, const std::string& planName, const SafetyOptions& safety);
// PortListError when two of the ports would keep their backups in one folder
// (the same device name in two folders): parallel backups would take one
// file name and one would be lost.
void checkBackupFolders(const std::vector<std::string>& ports, const SafetyOptions& safety);

// Reads the radio and compares it with the plan.
PortProcedure verifyProcedure(const ChannelTable& plan, const std::string& planName);

// The radio's channel plan into the port's file, as files gives it.
PortProcedure readProcedure(const std::vector<std::string>& ports, const std::vector<std::string>& files);

// The radio's memory into the port's image file, as files gives it.
PortProcedure backupProcedure(const std::vector<std::string>& ports, const std::vector<std::string>& files);

// One file per port in the folder, named after the device with the
// extension (".bc"); PortListError when two ports would share a file.
std::vector<std::string> filePerPort(const std::vector<std::string>& ports, const std::string& folder,
                                     const std::string& extension);

} // namespace zk
