// TForm2's Print and Export PDF commands.
#include "f2.h"

#include "Guarded.h"
#include "SaveTarget.h"
#include "PlanPrinter.h"

#include <QPrintDialog>
#include <QPrinter>

namespace {

// The caption without the modified marker.
QString plainCaption(const QString& title)
{
    QString caption = title;
    return caption.remove(QStringLiteral("[*]"));
}

} // namespace

void TForm2::printClick()
{
    zk::guarded(messages_, [this] {
        if (!commitOpenEditor())
            return;
        QPrinter printer(QPrinter::HighResolution);
        const bool chosen = choosePrinter ? choosePrinter(printer) : QPrintDialog(&printer, this).exec() == QDialog::Accepted;
        if (chosen)
            zk::printPlan(table_, plainCaption(windowTitle()), qtext(planFile_), printer);
    });
}

void TForm2::exportPdfClick()
{
    zk::guarded(messages_, [this] {
        if (!commitOpenEditor())
            return;
        const auto chosen = dialogs_.saveFile("Export PDF", "*.pdf");
        if (!chosen)
            return;
        const std::string path = zk::withExtension(*chosen, ".pdf");
        if (!zk::mayReplaceCompleted(messages_, *chosen, path))
            return;
        zk::exportPlanPdf(table_, plainCaption(windowTitle()), qtext(planFile_), QString::fromStdString(path));
        messages_.notice("Export success!");
    });
}
