// TForm2's Import CSV and Export CSV commands.
#include "f2.h"

#include "CsvPlan.h"
#include "Guarded.h"
#include "SaveTarget.h"

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
        // Read and checked in full first: a refused list changes nothing.
        const zk::CsvPlan plan = zk::importCsvFile(*path);
        discardOpenEditors();
        history_.record(QStringLiteral("Import CSV"), [&] { zk::applyCsvPlan(plan, table_); });
    });
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
