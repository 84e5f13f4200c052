#pragma once
// The radio commands the window runs itself, after the program's own Edit
// items: Verify compares the radio with the table, Backup Radio keeps the
// radio's memory as a raw image, Restore Radio writes such an image back
// and verifies it. Each runs in a dialog of its own that shows its steps.
#include "TransferSteps.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QString;
class QWidget;

namespace zk {
class ChannelTable;
class FileDialogs;
class RadioCommandDialog;
class UserMessages;

class RadioCommands {
public:
    // settleEdit commits an edit still open, false when it was refused;
    // backupFolder is where Backup Radio proposes to keep its images, none
    // when empty; the progress dialog belongs to window. All outlive this.
    RadioCommands(TransferEngine& engine, const ChannelTable& table, UserMessages& messages, FileDialogs& dialogs,
                  QWidget& window, const std::string& backupFolder, std::function<bool()> settleEdit);
    ~RadioCommands();

    void verify();
    void backup();
    void restore();

private:
    // Runs the steps in the dialog titled `title`; shows why they did not
    // succeed, in words that name `command`, and gives true when they did.
    bool run(const QString& title, const std::string& command, std::vector<TransferStep> steps);

    TransferEngine& engine_;
    const ChannelTable& table_;
    UserMessages& messages_;
    FileDialogs& dialogs_;
    RadioCommandDialog* dialog_; // the window's child
    const std::string& backupFolder_;
    std::function<bool()> settleEdit_;
};

} // namespace zk
