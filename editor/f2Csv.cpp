// TForm2's Import CSV, Export CSV and New From List commands.
#include "f2.h"

#include "ChannelList.h"
#include "CsvPlan.h"
#include "Guarded.h"
#include "ListImportDialog.h"
#include "SaveTarget.h"
#include "SideFiles.h"
#include "StockLists.h"
#include "Version.h"

namespace {

const char* const kCsvFilter = "*.csv";

} // namespace

void TForm2::importCsvClick()
{
    zk::guarded(messages_, [this] {
        // The list replaces every channel, as opening a plan would.
        if (!settleUnsavedChanges())
            return;
        const auto path = dialogs_.openFile("Import CSV", kCsvFilter);
        if (!path)
            return;
        chooseListRows(*path, QStringLiteral("Import CSV"), QString());
    });
}

void TForm2::newFromListClick()
{
    zk::guarded(messages_, [this] {
        if (!settleUnsavedChanges())
            return;
        const std::string folder = zk::stockListFolder(zk::applicationFolder(), zk::kDataFolderFromPrograms);
        if (!folder.empty())
            dialogs_.startNextIn(folder, std::string());
        const auto path = dialogs_.openFile("New From List", kCsvFilter);
        if (!path)
            return;
        // A stock list's rows say where it may be used and its power limit.
        chooseListRows(*path, QStringLiteral("New From List"), QString::fromStdString(zk::listAbout(*path)));
    });
}

void TForm2::chooseListRows(const std::string& path, const QString& title, const QString& note)
{
    // Read and judged in full first: a list that is no list changes nothing.
    const std::string source = zk::csvSource(path);
    zk::ChannelList list = zk::readChannelList(zk::readRegularFile(path, zk::kCsvFileKind), source);
    auto* dialog = new zk::ListImportDialog(std::move(list), source, title, note, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog] {
        zk::guarded(messages_, [this, dialog] {
            const zk::ListImport chosen = dialog->result();
            discardOpenEditors();
            history_.record(QStringLiteral("Import CSV"), [&] { zk::applyCsvPlan(chosen.plan, table_); });
        });
    });
    // Not exec(): the window's own event loop keeps running, and the dialog
    // stays modal to it.
    dialog->open();
}

void TForm2::exportCsvClick()
{
    zk::guarded(messages_, [this] {
        if (!commitOpenEditor())
            return;
        const auto chosen = dialogs_.saveFile("Export CSV", kCsvFilter);
        if (!chosen)
            return;
        const std::string path = zk::withExtension(*chosen, ".csv");
        if (!zk::mayReplaceCompleted(messages_, *chosen, path))
            return;
        zk::exportCsvFile(path, table_);
        messages_.notice("Export success!");
    });
}
