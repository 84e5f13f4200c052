#pragma once
// Read, write, verify, backup and restore between a page's plan and the
// radio on the script's port, with the desktop's outcome words.
#include "RadioImage.h"
#include "WebPlan.h"

#include <string>
#include <vector>

namespace zk::web {

enum class Procedure { Read = 0, Write = 1, Verify = 2, Backup = 3, Restore = 4 };

struct TransferReport {
    bool succeeded = false;
    std::vector<Message> messages;
    std::vector<std::string> differences; // of a verify, or of a restore's check
};

// Runs the procedure; its waits are awaits on the port. Backup keeps the
// radio's memory in image; Restore writes image, then checks the radio
// against it, naming the image imageName in its words.
TransferReport runProcedure(WebPlan& plan, Procedure procedure, RadioImage& image, const std::string& imageName);

} // namespace zk::web
