#pragma once
// The channel plan on paper or in a PDF file: the title, the plan's file
// and band, the sixteen channels, the five settings and the date, on one
// page. planFile is the file the plan was opened from or saved to, empty
// for none.
#include "ChannelTable.h"

#include <QDate>
#include <QString>

class QPrinter;

namespace zk {

// The page as rich text.
QString planDocument(const ChannelTable& table, const QString& title, const QString& planFile, const QDate& date);

// Lays the page out on the printer (a real one or a PDF file).
void printPlan(const ChannelTable& table, const QString& title, const QString& planFile, QPrinter& printer);

// Writes the page into a PDF file.
void exportPlanPdf(const ChannelTable& table, const QString& title, const QString& planFile, const QString& path);

} // namespace zk
