#include "PlanPrinter.h"

#include "Errors.h"
#include "Lists.h"

#include <QFile>
#include <QPrinter>
#include <QTextDocument>

namespace zk {

namespace {

QString escaped(const std::string& text)
{
    return QString::fromStdString(text).toHtmlEscaped();
}

} // namespace

QString planDocument(const ChannelTable& table, const QString& title, const QString& planFile, const QDate& date)
{
    QString html = QStringLiteral("<html><body style=\"font-family: sans-serif\">");
    html += QStringLiteral("<h2>%1</h2>").arg(title.toHtmlEscaped());
    // Which plan this page is: a printout outlives the window it came from.
    const QString file = planFile.isEmpty() ? QStringLiteral("not saved yet") : planFile.toHtmlEscaped();
    const std::string& band = bandTable()[static_cast<std::size_t>(table.band() - 1)].caption;
    html += QStringLiteral("<p>Plan: %1<br>Band: %2</p>").arg(file, escaped(band));
    html += QStringLiteral("<p>Printed %1</p>").arg(date.toString(Qt::ISODate));
    html += QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"4\" width=\"100%\">");
    for (int r = 0; r < kRows; ++r) {
        html += QStringLiteral("<tr>");
        for (int c = 0; c < kColumns; ++c) {
            const QString tag = r == 0 ? QStringLiteral("th") : QStringLiteral("td");
            html += QStringLiteral("<%1>%2</%1>").arg(tag, escaped(table.cell(c, r)));
        }
        html += QStringLiteral("</tr>");
    }
    html += QStringLiteral("</table><h3>Settings</h3><table cellpadding=\"3\">");
    for (int s = 0; s < kSettings; ++s) {
        html += QStringLiteral("<tr><td>%1</td><td>%2</td></tr>")
                    .arg(escaped(settingLabel(s)), escaped(settingItem(table, s)));
    }
    html += QStringLiteral("</table></body></html>");
    return html;
}

void printPlan(const ChannelTable& table, const QString& title, const QString& planFile, QPrinter& printer)
{
    QTextDocument document;
    document.setHtml(planDocument(table, title, planFile, QDate::currentDate()));
    document.print(&printer);
}

void exportPlanPdf(const ChannelTable& table, const QString& title, const QString& planFile, const QString& path)
{
    // The printer fails without a word; find out first, with the reason.
    {
        QFile probe(path);
        if (!probe.open(QIODevice::WriteOnly))
            throw cannotCreateError(QFile::encodeName(path).toStdString(), probe.errorString().toStdString());
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setDocName(title);
    printPlan(table, title, planFile, printer);
}

} // namespace zk
