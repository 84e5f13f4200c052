#include "CellEditors.h"

#include "ChannelGrid.h"
#include "ClipboardRules.h"
#include "EditRules.h"
#include "Errors.h"
#include "Guarded.h"
#include "Lists.h"
#include "PlanHistory.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollArea>
#include <QValidator>

namespace zk {

namespace {

constexpr int kEditBoxHeight = 25;

// Every change to a frequency box's text passes here. Typed characters have
// already been through the key filter; a paste, a middle-button paste or a
// drop is put through the same filter now. The box's earlier text is known
// because no change to it bypasses this.
class FrequencyFilter : public QValidator {
public:
    using QValidator::QValidator;

    // The text the program itself puts into the box, taken as it is.
    void setBase(const QString& text) { base_ = text.toStdString(); }

    State validate(QString& input, int& pos) const override
    {
        std::size_t cursor = static_cast<std::size_t>(pos);
        const std::string kept = edit::filterInsertion(base_, input.toStdString(), cursor);
        if (kept != input.toStdString()) {
            input = QString::fromStdString(kept);
            pos = static_cast<int>(cursor);
        }
        base_ = kept;
        return Acceptable;
    }

private:
    mutable std::string base_;
};

void setBoxText(QLineEdit* box, const QString& text)
{
    static_cast<FrequencyFilter*>(const_cast<QValidator*>(box->validator()))->setBase(text);
    box->setText(text);
}

// Children of the window, not of the grid, placed over the cell on demand.
QLineEdit* frequencyBox(const char* name, QWidget& window, QObject& keyFilter)
{
    auto* box = new QLineEdit(&window);
    box->setObjectName(QString::fromLatin1(name));
    box->hide();
    box->installEventFilter(&keyFilter);
    box->setValidator(new FrequencyFilter(box));
    return box;
}

QComboBox* cellList(const char* name, const std::vector<std::string>& items, QWidget& window)
{
    QComboBox* list = pickOnlyList(items, &window);
    list->setObjectName(QString::fromLatin1(name));
    list->hide();
    // A scrolling list of about twenty rows, not one as tall as the screen.
    list->setStyleSheet(QStringLiteral("combobox-popup: 0;"));
    list->setMaxVisibleItems(20);
    return list;
}

// The current cell, as decimal text.
QLineEdit* hiddenField(const char* name, QWidget& window)
{
    auto* field = new QLineEdit(&window);
    field->setObjectName(QString::fromLatin1(name));
    field->hide();
    return field;
}

// The scrolling contents around the grid, if the grid sits in any.
QAbstractScrollArea* contentsScroll(QWidget& grid)
{
    // The grid is a scroll area itself: look from its parent upwards.
    for (QWidget* w = grid.parentWidget(); w; w = w->parentWidget())
        if (auto* scroll = qobject_cast<QAbstractScrollArea*>(w))
            return scroll;
    return nullptr;
}

} // namespace

QComboBox* pickOnlyList(const std::vector<std::string>& items, QWidget* parent)
{
    auto* list = new QComboBox(parent);
    list->setEditable(false);
    for (const std::string& item : items)
        list->addItem(QString::fromStdString(item));
    return list;
}

CellEditors::CellEditors(QWidget& window, ChannelGrid& grid, ChannelTable& table, PlanHistory& history,
                         UserMessages& messages, QObject& keyFilter)
    : t1(frequencyBox("t1", window, keyFilter))
    , t2(frequencyBox("t2", window, keyFilter))
    , t3(cellList("t3", toneList(), window))
    , t4(cellList("t4", toneList(), window))
    , t5(cellList("t5", powerList(), window))
    , t6(cellList("t6", bandwidthList(), window))
    , Col(hiddenField("Col", window))
    , Row(hiddenField("Row", window))
    , window_(window)
    , grid_(grid)
    , table_(table)
    , history_(history)
    , messages_(messages)
{
}

int CellEditors::currentColumn() const
{
    return Col->text().toInt();
}

int CellEditors::currentRow() const
{
    return Row->text().toInt();
}

std::array<QWidget*, 6> CellEditors::all() const
{
    return {t1, t2, t3, t4, t5, t6};
}

void CellEditors::hideAll()
{
    for (QWidget* editor : all())
        editor->hide();
}

QRect CellEditors::cellOnWindow(int column, int row) const
{
    const QRect cell = grid_.visualRect(grid_.model()->index(row, column));
    return cell.translated(grid_.mapTo(&window_, QPoint(0, 0)));
}

QRect CellEditors::rectOf(int column, int row, int height) const
{
    const QRect cell = cellOnWindow(column, row);
    return QRect(cell.left(), cell.top(), cell.width() + 2, height);
}

QRect CellEditors::visibleArea() const
{
    // The editors are the window's children and are not clipped by the
    // scrolling contents the grid sits in.
    if (QAbstractScrollArea* scroll = contentsScroll(grid_))
        return QRect(scroll->viewport()->mapTo(&window_, QPoint(0, 0)), scroll->viewport()->size());
    return window_.rect();
}

void CellEditors::bringIntoView(int column, int row)
{
    auto* scroll = qobject_cast<QScrollArea*>(contentsScroll(grid_));
    if (!scroll || !scroll->widget())
        return;
    const QRect cell = grid_.visualRect(grid_.model()->index(row, column));
    const QPoint centre = grid_.mapTo(scroll->widget(), cell.center());
    scroll->ensureVisible(centre.x(), centre.y(), cell.width() / 2 + 1, cell.height() / 2 + 1);
}

void CellEditors::placeOpen()
{
    for (QWidget* editor : all()) {
        if (!editor->isVisible())
            continue;
        if (visibleArea().contains(cellOnWindow(currentColumn(), currentRow()))) {
            editor->setGeometry(rectOf(currentColumn(), currentRow(), editor->height()));
            continue;
        }
        // Out of sight it would float over the tool bar or the panels.
        if (editor == t1 || editor == t2) {
            commitOpen();
            if (editor->isVisible())
                discard(); // a text that is no number: dropped, as the next selection would
        } else {
            editor->hide();
        }
    }
}

void CellEditors::giveGridTheKeyboard()
{
    if (QApplication::focusWidget() != &grid_)
        grid_.setFocus(Qt::OtherFocusReason);
}

bool CellEditors::commitOpen()
{
    QLineEdit* box = t1->isVisible() ? t1 : t2->isVisible() ? t2 : nullptr;
    if (!box)
        return true;
    // Commit once, here, and not a second time when the focus leaves the box.
    quiet_ = true;
    if (box->hasFocus())
        grid_.setFocus(Qt::OtherFocusReason);
    quiet_ = false;
    bool taken = false;
    guarded(messages_, [&] { taken = commit(box); });
    return taken;
}

void CellEditors::discard()
{
    quiet_ = true;
    if (t1->hasFocus() || t2->hasFocus())
        grid_.setFocus(Qt::OtherFocusReason);
    hideAll();
    setBoxText(t1, QString());
    setBoxText(t2, QString());
    quiet_ = false;
}

void CellEditors::select(int column, int row)
{
    Col->setText(QString::number(column));
    Row->setText(QString::number(row));
    if (column == ColRx || column == ColTx) {
        hideAll();
        QLineEdit* box = column == ColRx ? t1 : t2;
        bringIntoView(column, row);
        box->setGeometry(rectOf(column, row, kEditBoxHeight));
        box->show();
        box->raise();
        box->setFocus(Qt::OtherFocusReason);
        setBoxText(box, QString::fromStdString(table_.cell(column, row)));
    } else if (column >= ColDecode && column <= ColBandwidth) {
        hideAll();
        // Tones, power and bandwidth only belong to a row with a frequency.
        if (table_.rowIsEmpty(row))
            return;
        QComboBox* lists[] = {t3, t4, t5, t6};
        QComboBox* list = lists[column - ColDecode];
        bringIntoView(column, row);
        list->setGeometry(rectOf(column, row, list->sizeHint().height()));
        list->setCurrentIndex(0);
        list->show();
        list->raise();
    }
}

void CellEditors::startTyping(int column, int row, const QString& typed)
{
    if (column != ColRx && column != ColTx)
        return;
    select(column, row);
    QLineEdit* box = column == ColRx ? t1 : t2;
    // What was typed replaces the cell's text, as in a spreadsheet.
    setBoxText(box, QString());
    box->insert(typed);
}

bool CellEditors::commit(QLineEdit* box)
{
    const int column = box == t1 ? ColRx : ColTx;
    const int row = currentRow();
    if (row < 1 || row > kChannels)
        return true; // no cell was ever selected
    const int other = column == ColRx ? ColTx : ColRx;
    auto emptyCell = [&] { clip::emptyFrequency(table_, column, row); };

    // Leaving a box as it came up changes nothing, not even for a cell that
    // lies outside the band now in force.
    if (box->text().toStdString() == table_.cell(column, row)) {
        setBoxText(box, QString());
        box->hide();
        return true;
    }

    const int low = table_.lowLimit();
    const int high = table_.highLimit();
    const edit::CommitDecision decision = edit::decideFrequencyCommit(
        box->text().toStdString(), table_.cell(column, row), table_.cell(other, row), low, high);

    const QString step = column == ColRx ? QStringLiteral("RX Frequency") : QStringLiteral("TX Frequency");
    bool taken = true;
    switch (decision.kind) {
    case edit::CommitKind::EmptyEntry:
        // The box stays as it is.
        history_.record(step, emptyCell);
        return true;
    case edit::CommitKind::NotANumber:
        // The cell keeps its text and the box its typing, for a correction.
        throw invalidFloatError(decision.text);
    case edit::CommitKind::Refuse:
        messages_.notice(edit::rangeMessage(column, low, high));
        history_.record(step, emptyCell);
        taken = false;
        break;
    case edit::CommitKind::Write:
        history_.record(step, [&] { table_.setCell(column, row, decision.text); });
        break;
    case edit::CommitKind::WriteWithDefaults:
        history_.record(step, [&] {
            table_.setCell(column, row, decision.text);
            clip::setRowDefaults(table_, row);
        });
        break;
    }
    setBoxText(box, QString());
    box->hide();
    return taken;
}

void CellEditors::pick(QComboBox* list, int index)
{
    list->hide();
    // Only a row with a frequency takes a tone, power or bandwidth.
    const int row = currentRow();
    if (row < 1 || row > kChannels || table_.rowIsEmpty(row))
        return;
    history_.record(QStringLiteral("Pick"),
                    [&] { table_.setCell(currentColumn(), row, list->itemText(index).toStdString()); });
}

void CellEditors::openList()
{
    for (QComboBox* list : {t3, t4, t5, t6})
        if (list->isVisible())
            list->showPopup();
}

} // namespace zk
