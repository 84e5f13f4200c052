#pragma once
// The radio commands the window runs itself, after the program's own Edit
// items: Verify compares the radio with the table, Backup Radio keeps the
// radio's memory as a raw image, Restore Radio writes such an image back
// and verifies it. Progress shows in the second status panel.
#include "TransferSteps.h"

#include <functional>
#include <string>
#include <vector>

class QLabel;

namespace zk {
class ChannelTable;
class FileDialogs;
class UserMessages;

class RadioCommands {
public:
    // settleEdit commits an edit still open, false when it was refused;
    // backupFolder is where Backup Radio proposes to keep its images, none
    // when empty. All outlive this.
    RadioCommands(TransferEngine& engine, const ChannelTable& table, UserMessages& messages, FileDialogs& dialogs,
                  QLabel& progress, const std::string& backupFolder, std::function<bool()> settleEdit);

    void verify();
    void backup();
    void restore();

private:
    // Runs the steps, each one's progress under its label; shows why they
    // did not succeed, true when they did.
    bool run(std::vector<TransferStep> steps, const std::vector<const char*>& labels);
    void showProgress(const char* what, int blocksDone);

    TransferEngine& engine_;
    const ChannelTable& table_;
    UserMessages& messages_;
    FileDialogs& dialogs_;
    QLabel& progress_;
    const std::string& backupFolder_;
    std::function<bool()> settleEdit_;
};

} // namespace zk
