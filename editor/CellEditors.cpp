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

// The character a key types into a frequency box; 0 for a key that is not
// a typed character and goes to the box as it is.
char32_t typedBy(const QKeyEvent& event)
{
    switch (event.key()) {
    case Qt::Key_Backspace:
        return edit::kBackspace;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return edit::kEnter;
    case Qt::Key_Delete:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return 0; // editing and focus keys, not typed characters
    default:
        // Cursor keys and the like type nothing. The box's editing keys
        // (undo, paste, select all) type no character; what a paste brings
        // passes the same filter (FrequencyFilter).
        if (event.text().isEmpty() || (event.modifiers() & Qt::ControlModifier))
            return 0;
        return event.text().toUcs4().value(0);
    }
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

QRect CellEditors::rectOf(int column, int row, int height) const
{
    const QRect cell = grid_.visualRect(grid_.model()->index(row, column));
    const QPoint grid = grid_.mapTo(&window_, QPoint(0, 0));
    return QRect(grid.x() + cell.left(), grid.y() + cell.top(), cell.width() + 2, height);
}

void CellEditors::placeOpen()
{
    for (QWidget* editor : all())
        if (editor->isVisible())
            editor->setGeometry(rectOf(currentColumn(), currentRow(), editor->height()));
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
        list->setGeometry(rectOf(column, row, list->sizeHint().height()));
        list->setCurrentIndex(0);
        list->show();
        list->raise();
    }
}

bool CellEditors::keyPress(QLineEdit* box, QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
        return leaveByArrow(box, event);
    default:
        break;
    }
    const char32_t typed = typedBy(*event);
    if (typed == 0)
        return false;
    switch (edit::filterKey(static_cast<std::size_t>(box->text().size()), typed)) {
    case edit::KeyAction::Pass:
        return false;
    case edit::KeyAction::Drop:
        return true;
    case edit::KeyAction::EndEdit:
        // Hiding the focused box moves the focus on, which commits it; the
        // grid then keeps the keyboard.
        box->hide();
        giveGridTheKeyboard();
        return true;
    }
    return true;
}

bool CellEditors::leaveByArrow(QLineEdit* box, QKeyEvent* event)
{
    // Left and Right move the cursor inside the text; at its ends, and Up
    // and Down always, they leave the box for the next cell, as a
    // spreadsheet does. The box commits as it loses the focus.
    const int key = event->key();
    if (event->modifiers() & ~Qt::KeypadModifier)
        return false;
    if ((key == Qt::Key_Left && box->cursorPosition() > 0)
        || (key == Qt::Key_Right && box->cursorPosition() < box->text().size()))
        return false;
    box->hide();
    giveGridTheKeyboard();
    QKeyEvent move(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(&grid_, &move);
    return true;
}

bool CellEditors::commit(QLineEdit* box)
{
    const int column = box == t1 ? ColRx : ColTx;
    const int row = currentRow();
    if (row < 1 || row > kChannels)
        return true; // no cell was ever selected
    const int other = column == ColRx ? ColTx : ColRx;
    auto emptyCell = [&] { clip::emptyFrequency(table_, column, row); };

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
