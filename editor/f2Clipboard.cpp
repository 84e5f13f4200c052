// TForm2's clipboard: copy, cut, paste and delete of a block of channel
// cells as tab-separated text. The rules are ClipboardRules'; this file
// moves texts between the grid's selection, the clipboard and the table.
#include "f2.h"

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

bool TForm2::selectedRange(int& top, int& left, int& bottom, int& right) const
{
    const QList<QTableWidgetSelectionRange> ranges = StringGrid1->selectedRanges();
    if (!ranges.isEmpty()) {
        const QTableWidgetSelectionRange& range = ranges.constFirst();
        top = std::max(range.topRow(), 1);
        left = std::max(range.leftColumn(), 1);
        bottom = range.bottomRow();
        right = range.rightColumn();
        return bottom >= top && right >= left;
    }
    top = bottom = currentRow();
    left = right = currentColumn();
    return top >= 1 && top <= zk::kChannels && left >= 1 && left < zk::kColumns;
}

void TForm2::copyClick()
{
    zk::guarded(messages_, [this] {
        zk::clip::CellRange range;
        if (!commitOpenEditor() || !selectedRange(range.top, range.left, range.bottom, range.right))
            return;
        QApplication::clipboard()->setText(QString::fromStdString(zk::clip::copyText(table_, range)));
    });
}

void TForm2::deleteClick()
{
    zk::guarded(messages_, [this] {
        zk::clip::CellRange range;
        if (!commitOpenEditor() || !selectedRange(range.top, range.left, range.bottom, range.right))
            return;
        discardOpenEditors();
        history_.record(QStringLiteral("Delete"), [&] { writeCells(table_, zk::clip::deleteCells(table_, range)); });
    });
}

void TForm2::cutClick()
{
    zk::guarded(messages_, [this] {
        zk::clip::CellRange range;
        if (!commitOpenEditor() || !selectedRange(range.top, range.left, range.bottom, range.right))
            return;
        QApplication::clipboard()->setText(QString::fromStdString(zk::clip::copyText(table_, range)));
        discardOpenEditors();
        history_.record(QStringLiteral("Cut"), [&] { writeCells(table_, zk::clip::deleteCells(table_, range)); });
    });
}

void TForm2::pasteClick()
{
    zk::guarded(messages_, [this] {
        zk::clip::CellRange range;
        if (!commitOpenEditor() || !selectedRange(range.top, range.left, range.bottom, range.right))
            return;
        const std::string text = QApplication::clipboard()->text().toStdString();
        if (text.empty())
            return;
        const zk::clip::PasteCheck check = zk::clip::checkPaste(table_, range.top, range.left, text);
        if (!check.refused.empty()) {
            messages_.notice(zk::clip::refusalMessage(check.refused));
            return;
        }
        discardOpenEditors();
        history_.record(QStringLiteral("Paste"), [&] { writeCells(table_, check.writes); });
    });
}
