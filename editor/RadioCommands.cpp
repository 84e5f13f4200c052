#include "RadioCommands.h"

#include "Codec.h"
#include "Errors.h"
#include "RadioCommandDialog.h"
#include "ImageFile.h"
#include "SaveTarget.h"
#include "TransferSteps.h"
#include "TransferWords.h"
#include "UserMessages.h"

#include <QString>

#include <chrono>
#include <filesystem>

namespace zk {

namespace {

const char* const kImageFilter = "*.img";

std::string fileName(const std::string& path)
{
    return std::filesystem::path(path).filename().string();
}

} // namespace

RadioCommands::RadioCommands(TransferEngine& engine, const ChannelTable& table, UserMessages& messages,
                             FileDialogs& dialogs, QWidget& window, const std::string& backupFolder,
                             std::function<bool()> settleEdit)
    : engine_(engine)
    , table_(table)
    , messages_(messages)
    , dialogs_(dialogs)
    , dialog_(new RadioCommandDialog(&window))
    , backupFolder_(backupFolder)
    , settleEdit_(std::move(settleEdit))
{
}

RadioCommands::~RadioCommands() = default;

// Why the steps did not succeed is worded where the dialogs and the
// command-line tool word it.
bool RadioCommands::run(const QString& title, const std::string& command, std::vector<TransferStep> steps)
{
    std::size_t current = 0;
    int blocksDone = 0;
    for (std::size_t i = 0; i + 1 < steps.size(); ++i)
        steps[i].afterwards = [&current, &blocksDone] {
            ++current;
            blocksDone = 0;
        };
    const auto progress = [&](int k) {
        blocksDone = k;
        dialog_->progress(progressText(steps.size() > 1 ? steps.at(current).name : command, k), k);
    };
    dialog_->begin(title);
    StepsOutcome outcome;
    try {
        outcome = runSteps(engine_, steps, progress);
    } catch (...) {
        dialog_->end();
        throw;
    }
    dialog_->end();
    return outcome.succeeded() ||
           showOutcome(messages_, commandOutcomeWords(command, outcome, steps, blocksDone, engine_));
}

void RadioCommands::verify()
{
    if (engine_.busy() || !settleEdit_())
        return;
    // The plan as it is now: edits made while the radio is read are not part of it.
    const ChannelTable plan = table_;
    std::vector<std::string> differences;
    if (!run(QStringLiteral("Verify"), "Verify", {verifyPlanStep(plan, differences)}))
        return;
    showMessage(messages_, verifyResultMessage(differences));
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
    if (!run(QStringLiteral("Backup Radio"), "Backup", {backupStep(image)}))
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
    std::vector<std::string> differences;
    if (!run(QStringLiteral("Restore Radio"), "Restore", {restoreStep(image), verifyImageStep(image, differences)}))
        return;
    showMessage(messages_, restoreResultMessage(name, differences));
}

} // namespace zk
