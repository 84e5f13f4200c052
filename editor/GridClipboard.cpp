#include "GridClipboard.h"

#include "CellEditors.h"
#include "ChannelGrid.h"
#include "PlanHistory.h"
#include "UserMessages.h"

#include <QApplication>
#include <QClipboard>

namespace zk {

namespace {

void writeCells(ChannelTable& table, const std::vector<clip::CellWrite>& writes)
{
    for (const clip::CellWrite& write : writes)
        table.setCell(write.column, write.row, write.text);
}

} // namespace

GridClipboard::GridClipboard(ChannelGrid& grid, CellEditors& editors, ChannelTable& table, PlanHistory& history,
                             UserMessages& messages)
    : grid_(grid), editors_(editors), table_(table), history_(history), messages_(messages)
{
}

std::optional<clip::CellRange> GridClipboard::rangeToEdit()
{
    // An open edit is committed first: the range acts on what it typed.
    if (!editors_.commitOpen())
        return std::nullopt;
    clip::CellRange cells;
    const QList<QTableWidgetSelectionRange> ranges = grid_.selectedRanges();
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
    cells.top = cells.bottom = editors_.currentRow();
    cells.left = cells.right = editors_.currentColumn();
    if (cells.top < 1 || cells.top > kChannels || cells.left < 1 || cells.left >= kColumns)
        return std::nullopt;
    return cells;
}

void GridClipboard::eraseRange(const clip::CellRange& range, const QString& stepName)
{
    editors_.discard();
    history_.record(stepName, [&] { writeCells(table_, clip::deleteCells(table_, range)); });
}

void GridClipboard::copy()
{
    if (const auto range = rangeToEdit())
        QApplication::clipboard()->setText(QString::fromStdString(clip::copyText(table_, *range)));
}

void GridClipboard::erase()
{
    if (const auto range = rangeToEdit())
        eraseRange(*range, QStringLiteral("Delete"));
}

void GridClipboard::cut()
{
    if (const auto range = rangeToEdit()) {
        QApplication::clipboard()->setText(QString::fromStdString(clip::copyText(table_, *range)));
        eraseRange(*range, QStringLiteral("Cut"));
    }
}

void GridClipboard::paste()
{
    const auto range = rangeToEdit();
    if (!range)
        return;
    const std::string text = QApplication::clipboard()->text().toStdString();
    if (text.empty())
        return;
    if (const std::string tooLarge = clip::oversizeReason(text); !tooLarge.empty()) {
        messages_.notice(tooLarge);
        return;
    }
    const clip::PasteCheck check = clip::checkPaste(table_, range->top, range->left, text);
    if (!check.refused.empty()) {
        messages_.notice(clip::refusalMessage(check.refused));
        return;
    }
    editors_.discard();
    history_.record(QStringLiteral("Paste"), [&] { writeCells(table_, check.writes); });
}

} // namespace zk
