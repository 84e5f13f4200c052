// TForm2's clipboard: copy, cut, paste and delete of a block of channel
// cells as tab-separated text. The rules are ClipboardRules'; this file
// moves texts between the grid's selection, the clipboard and the table.
#include "f2.h"

#include "CellEditors.h"
#include "ChannelGrid.h"
#include "ClipboardRules.h"
#include "Guarded.h"

#include <QApplication>
#include <QClipboard>

namespace {

void writeCells(zk::ChannelTable& table, const std::vector<zk::clip::CellWrite>& writes)
{
    for (const zk::clip::CellWrite& write : writes)
        table.setCell(write.column, write.row, write.text);
}

} // namespace

std::optional<zk::clip::CellRange> TForm2::rangeToEdit()
{
    // An open edit is committed first: the range acts on what it typed.
    if (!commitOpenEditor())
        return std::nullopt;
    zk::clip::CellRange cells;
    const QList<QTableWidgetSelectionRange> ranges = StringGrid1->selectedRanges();
    if (!ranges.isEmpty()) {
        const QTableWidgetSelectionRange& range = ranges.constFirst();
        cells.top = std::max(range.topRow(), 1);
        cells.left = std::max(range.leftColumn(), 1);
        cells.bottom = range.bottomRow();
        cells.right = range.rightColumn();
        if (cells.bottom < cells.top || cells.right < cells.left)
            return std::nullopt;
        return cells;
    }
    cells.top = cells.bottom = editors_->currentRow();
    cells.left = cells.right = editors_->currentColumn();
    if (cells.top < 1 || cells.top > zk::kChannels || cells.left < 1 || cells.left >= zk::kColumns)
        return std::nullopt;
    return cells;
}

void TForm2::eraseRange(const zk::clip::CellRange& range, const QString& stepName)
{
    discardOpenEditors();
    history_.record(stepName, [&] { writeCells(table_, zk::clip::deleteCells(table_, range)); });
}

void TForm2::copyClick()
{
    zk::guarded(messages_, [this] {
        if (const auto range = rangeToEdit())
            QApplication::clipboard()->setText(QString::fromStdString(zk::clip::copyText(table_, *range)));
    });
}

void TForm2::deleteClick()
{
    zk::guarded(messages_, [this] {
        if (const auto range = rangeToEdit())
            eraseRange(*range, QStringLiteral("Delete"));
    });
}

void TForm2::cutClick()
{
    zk::guarded(messages_, [this] {
        if (const auto range = rangeToEdit()) {
            QApplication::clipboard()->setText(QString::fromStdString(zk::clip::copyText(table_, *range)));
            eraseRange(*range, QStringLiteral("Cut"));
        }
    });
}

void TForm2::pasteClick()
{
    zk::guarded(messages_, [this] {
        const auto range = rangeToEdit();
        if (!range)
            return;
        const std::string text = QApplication::clipboard()->text().toStdString();
        if (text.empty())
            return;
        const zk::clip::PasteCheck check = zk::clip::checkPaste(table_, range->top, range->left, text);
        if (!check.refused.empty()) {
            messages_.notice(zk::clip::refusalMessage(check.refused));
            return;
        }
        discardOpenEditors();
        history_.record(QStringLiteral("Paste"), [&] { writeCells(table_, check.writes); });
    });
}
