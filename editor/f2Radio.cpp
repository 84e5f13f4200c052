// TForm2's radio safety commands after the program's own Edit items: Verify
// compares the radio with the table, Backup Radio keeps the radio's memory
// as a raw image, Restore Radio writes such an image back and verifies it.
#include "f2.h"

#include "Codec.h"
#include "Errors.h"
#include "Guarded.h"
#include "ImageFile.h"
#include "RadioChecks.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>

#include <chrono>
#include <filesystem>

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

void TForm2::buildRadioMenu()
{
    QMenu* edit = menuBar()->findChild<QMenu*>(QStringLiteral("MenuEdit"));
    edit->addSeparator();
    const auto item = [this, edit](const char* name, const char* caption, void (TForm2::*handler)()) {
        auto* action = new QAction(QString::fromLatin1(caption), this);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, handler);
        edit->addAction(action);
    };
    item("Verify", "Verify", &TForm2::verifyClick);
    item("BackupRadio", "Backup Radio...", &TForm2::backupClick);
    item("RestoreRadio", "Restore Radio...", &TForm2::restoreClick);
}

void TForm2::showProgress(const char* what, int blocksDone)
{
    blankPanel_->setText(blocksDone < 0 ? QStringLiteral(" ")
                                        : QStringLiteral("%1 %2/%3").arg(QLatin1String(what)).arg(blocksDone).arg(zk::kBlocks));
}

bool TForm2::transferSucceeded(const zk::TransferResult& result, bool writing)
{
    switch (result.outcome) {
    case zk::TransferOutcome::Succeeded:
        return true;
    case zk::TransferOutcome::Busy:
    case zk::TransferOutcome::Aborted:
        break;
    case zk::TransferOutcome::PortNotReady:
        messages_.notice(writing ? zk::kWritePortNotReady : zk::kReadPortNotReady);
        break;
    case zk::TransferOutcome::Stopped:
        messages_.error(result.error);
        if (writing && result.sentAnything)
            messages_.notice(zk::kWriteError);
        break;
    case zk::TransferOutcome::Failed:
        messages_.noticeWithDetail(writing ? zk::kWriteError : zk::kReadError, engine_.failureDetail());
        break;
    }
    return false;
}

void TForm2::verifyClick()
{
    zk::guarded(messages_, [this] {
        if (engine_.busy() || !commitOpenEditor())
            return;
        // The plan as it is now: edits made while the radio is read are not part of it.
        const zk::ChannelTable plan = table_;
        const zk::CheckResult check =
            zk::verifyAgainstPlan(engine_, plan, [this](int k) { showProgress("Verify", k); });
        showProgress("", -1);
        if (!transferSucceeded(check.transfer, false))
            return;
        if (check.differences.empty()) {
            messages_.notice("Radio matches the channel plan.");
            return;
        }
        messages_.noticeWithDetail("Radio differs from the channel plan in " +
                                       std::to_string(check.differences.size()) + " channels or settings.",
                                   joinedLines(check.differences));
    });
}

void TForm2::backupClick()
{
    zk::guarded(messages_, [this] {
        if (engine_.busy())
            return;
        if (!backupFolder.empty()) {
            try {
                const std::string proposed = zk::newBackupPath(backupFolder, std::chrono::system_clock::now());
                dialogs_.startNextIn(backupFolder, fileName(proposed));
            } catch (const zk::AppError&) {
                // Only a proposal: a folder that cannot be made (a read-only
                // place) leaves the choice to the dialog, the backup goes on.
            }
        }
        const auto chosen = dialogs_.saveFile("Backup Radio", kImageFilter);
        if (!chosen)
            return;
        // Without its extension the backup would not show in Restore's dialog.
        const std::string path = withExtension(*chosen, ".img");
        if (!mayReplaceCompleted(*chosen, path))
            return;
        zk::RadioImage image;
        const zk::TransferResult result = engine_.readImage(image, [this](int k) { showProgress("Backup", k); });
        showProgress("", -1);
        if (!transferSucceeded(result, false))
            return;
        zk::saveImageFile(path, image);
        messages_.notice("Backup saved to " + path + ".");
    });
}

void TForm2::restoreClick()
{
    zk::guarded(messages_, [this] {
        if (engine_.busy())
            return;
        if (!backupFolder.empty())
            dialogs_.startNextIn(backupFolder, {});
        const auto path = dialogs_.openFile("Restore Radio", kImageFilter);
        if (!path)
            return;
        // A file that is not an image is refused here, before anything is sent.
        const zk::RadioImage image = zk::readImageFile(*path);
        const std::string name = fileName(*path);
        if (!messages_.confirm("Do you want to write " + name +
                               " into the radio? Every channel and setting in the radio is replaced."))
            return;
        const zk::TransferResult written =
            engine_.writeImage(image, [this](int k) { showProgress("Restore", k); });
        showProgress("", -1);
        if (!transferSucceeded(written, true))
            return;
        const zk::CheckResult check =
            zk::verifyAgainstImage(engine_, image, [this](int k) { showProgress("Verify", k); });
        showProgress("", -1);
        if (!transferSucceeded(check.transfer, false))
            return;
        if (check.differences.empty())
            messages_.notice("Restore Success! The radio matches " + name + ".");
        else
            messages_.noticeWithDetail("The image was written, but the radio differs from " + name + ".",
                                       joinedLines(check.differences));
    });
}
