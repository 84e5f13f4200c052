#include "RadioCommands.h"

#include "Codec.h"
#include "Errors.h"
#include "ImageFile.h"
#include "RadioChecks.h"
#include "SaveTarget.h"
#include "TransferEngine.h"
#include "UserMessages.h"

#include <QLabel>

#include <chrono>
#include <filesystem>

namespace zk {

namespace {

const char* const kImageFilter = "*.img";

std::string joinedLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += (text.empty() ? "" : "\n") + line;
    return text;
}

std::string fileName(const std::string& path)
{
    return std::filesystem::path(path).filename().string();
}

} // namespace

RadioCommands::RadioCommands(TransferEngine& engine, const ChannelTable& table, UserMessages& messages,
                             FileDialogs& dialogs, QLabel& progress, const std::string& backupFolder,
                             std::function<bool()> settleEdit)
    : engine_(engine)
    , table_(table)
    , messages_(messages)
    , dialogs_(dialogs)
    , progress_(progress)
    , backupFolder_(backupFolder)
    , settleEdit_(std::move(settleEdit))
{
}

void RadioCommands::showProgress(const char* what, int blocksDone)
{
    progress_.setText(blocksDone < 0 ? QStringLiteral(" ")
                                     : QStringLiteral("%1 %2/%3").arg(QLatin1String(what)).arg(blocksDone).arg(kBlocks));
}

// The transfers below and the words for their outcomes stay together here.
bool RadioCommands::succeeded(const TransferResult& result, bool writing)
{
    switch (result.outcome) {
    case TransferOutcome::Succeeded:
        return true;
    case TransferOutcome::Busy:
    case TransferOutcome::Aborted:
        break;
    case TransferOutcome::PortNotReady:
        messages_.notice(writing ? kWritePortNotReady : kReadPortNotReady);
        break;
    case TransferOutcome::Stopped:
        messages_.error(result.error);
        if (writing && result.sentAnything)
            messages_.notice(kWriteError);
        break;
    case TransferOutcome::Failed:
        messages_.noticeWithDetail(writing ? kWriteError : kReadError, engine_.failureDetail());
        break;
    }
    return false;
}

void RadioCommands::verify()
{
    if (engine_.busy() || !settleEdit_())
        return;
    // The plan as it is now: edits made while the radio is read are not part of it.
    const ChannelTable plan = table_;
    const CheckResult check = verifyAgainstPlan(engine_, plan, [this](int k) { showProgress("Verify", k); });
    showProgress("", -1);
    if (!succeeded(check.transfer, false))
        return;
    if (check.differences.empty()) {
        messages_.notice("Radio matches the channel plan.");
        return;
    }
    messages_.noticeWithDetail("Radio differs from the channel plan in " + std::to_string(check.differences.size())
                                   + " channels or settings.",
                               joinedLines(check.differences));
}

void RadioCommands::backup()
{
    if (engine_.busy())
        return;
    if (!backupFolder_.empty()) {
        try {
            const std::string proposed = newBackupPath(backupFolder_, std::chrono::system_clock::now());
            dialogs_.startNextIn(backupFolder_, fileName(proposed));
        } catch (const AppError&) {
            // Only a proposal: a folder that cannot be made (a read-only
            // place) leaves the choice to the dialog, the backup goes on.
        }
    }
    const auto chosen = dialogs_.saveFile("Backup Radio", kImageFilter);
    if (!chosen)
        return;
    // Without its extension the backup would not show in Restore's dialog.
    const std::string path = withExtension(*chosen, ".img");
    if (!mayReplaceCompleted(messages_, *chosen, path))
        return;
    RadioImage image;
    const TransferResult result = engine_.readImage(image, [this](int k) { showProgress("Backup", k); });
    showProgress("", -1);
    if (!succeeded(result, false))
        return;
    saveImageFile(path, image);
    messages_.notice("Backup saved to " + path + ".");
}

void RadioCommands::restore()
{
    if (engine_.busy())
        return;
    if (!backupFolder_.empty())
        dialogs_.startNextIn(backupFolder_, {});
    const auto path = dialogs_.openFile("Restore Radio", kImageFilter);
    if (!path)
        return;
    // A file that is not an image is refused here, before anything is sent.
    const RadioImage image = readImageFile(*path);
    const std::string name = fileName(*path);
    if (!messages_.confirm("Do you want to write " + name
                           + " into the radio? Every channel and setting in the radio is replaced."))
        return;
    const TransferResult written = engine_.writeImage(image, [this](int k) { showProgress("Restore", k); });
    showProgress("", -1);
    if (!succeeded(written, true))
        return;
    const CheckResult check = verifyAgainstImage(engine_, image, [this](int k) { showProgress("Verify", k); });
    showProgress("", -1);
    if (!succeeded(check.transfer, false))
        return;
    if (check.differences.empty())
        messages_.notice("Restore Success! The radio matches " + name + ".");
    else
        messages_.noticeWithDetail("The image was written, but the radio differs from " + name + ".",
                                   joinedLines(check.differences));
}

} // namespace zk
