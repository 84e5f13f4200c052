#pragma once
// The radio commands the window runs itself, after the program's own Edit
// items: Verify compares the radio with the table, Backup Radio keeps the
// radio's memory as a raw image, Restore Radio writes such an image back
// and verifies it. Progress shows in the second status panel.
#include <functional>
#include <string>

class QLabel;

namespace zk {
class ChannelTable;
class FileDialogs;
class TransferEngine;
class UserMessages;
struct TransferResult;

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
    // Shows why a transfer did not succeed; true when it did.
    bool succeeded(const TransferResult& result, bool writing);
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
