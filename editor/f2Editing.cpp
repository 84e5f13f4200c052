// TForm2's in-place editing: which editor comes up over a selected cell, the
// key filter of the frequency boxes, and the commits that write the table.
#include "f2.h"

#include "ChannelGrid.h"
#include "ClipboardRules.h"
#include "EditRules.h"
#include "Errors.h"
#include "Guarded.h"
#include "Lists.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QValidator>

#include <string>

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
        const std::string kept = zk::edit::filterInsertion(base_, input.toStdString(), cursor);
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

} // namespace

void TForm2::installFrequencyFilter(QLineEdit* box)
{
    box->setValidator(new FrequencyFilter(box));
}

int TForm2::currentColumn() const
{
    return Col->text().toInt();
}

int TForm2::currentRow() const
{
    return Row->text().toInt();
}

QRect TForm2::editorRect(int column, int row, int height) const
{
    const QRect cell = StringGrid1->visualRect(StringGrid1->model()->index(row, column));
    const QPoint grid = StringGrid1->mapTo(this, QPoint(0, 0));
    return QRect(grid.x() + cell.left(), grid.y() + cell.top(), cell.width() + 2, height);
}

std::array<QWidget*, 6> TForm2::editors() const
{
    return {t1, t2, t3, t4, t5, t6};
}

void TForm2::hideEditors()
{
    for (QWidget* editor : editors())
        editor->hide();
}

void TForm2::placeOpenEditor()
{
    for (QWidget* editor : editors())
        if (editor->isVisible())
            editor->setGeometry(editorRect(currentColumn(), currentRow(), editor->height()));
}

bool TForm2::commitOpenEditor()
{
    QLineEdit* box = t1->isVisible() ? t1 : t2->isVisible() ? t2 : nullptr;
    if (!box)
        return true;
    // Commit once, here, and not a second time when the focus leaves the box.
    quietEditors_ = true;
    if (box->hasFocus())
        StringGrid1->setFocus(Qt::OtherFocusReason);
    quietEditors_ = false;
    bool taken = false;
    zk::guarded(messages_, [&] { taken = frequencyCommit(box, box == t1 ? zk::ColRx : zk::ColTx); });
    return taken;
}

void TForm2::discardOpenEditors()
{
    quietEditors_ = true;
    if (t1->hasFocus() || t2->hasFocus())
        StringGrid1->setFocus(Qt::OtherFocusReason);
    hideEditors();
    setBoxText(t1, QString());
    setBoxText(t2, QString());
    quietEditors_ = false;
}

void TForm2::StringGrid1SelectCell(int column, int row)
{
    zk::guarded(messages_, [&] {
        Col->setText(QString::number(column));
        Row->setText(QString::number(row));
        if (column == zk::ColRx || column == zk::ColTx) {
            hideEditors();
            QLineEdit* box = column == zk::ColRx ? t1 : t2;
            box->setGeometry(editorRect(column, row, kEditBoxHeight));
            box->show();
            box->raise();
            box->setFocus(Qt::OtherFocusReason);
            setBoxText(box, qtext(table_.cell(column, row)));
        } else if (column >= zk::ColDecode && column <= zk::ColBandwidth) {
            hideEditors();
            // Tones, power and bandwidth only belong to a row with a frequency.
            if (table_.rowIsEmpty(row))
                return;
            QComboBox* lists[] = {t3, t4, t5, t6};
            QComboBox* list = lists[column - zk::ColDecode];
            list->setGeometry(editorRect(column, row, list->sizeHint().height()));
            list->setCurrentIndex(0);
            list->show();
            list->raise();
        }
    });
}

bool TForm2::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != t1 && watched != t2)
        return QMainWindow::eventFilter(watched, event);

    if (event->type() == QEvent::KeyPress) {
        bool swallowed = false;
        zk::guarded(messages_, [&] {
            auto* key = static_cast<QKeyEvent*>(event);
            swallowed = watched == t1 ? t1KeyPress(key) : t2KeyPress(key);
        });
        return swallowed;
    }
    if (event->type() == QEvent::FocusOut && !quietEditors_) {
        // Opening a menu, or another window becoming active, does not end the
        // edit: the box stays open and commits when the focus really moves on.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason
            && reason != Qt::MenuBarFocusReason) {
            if (watched == t1)
                t1Exit();
            else
                t2Exit();
        }
    }
    return false;
}

bool TForm2::t1KeyPress(QKeyEvent* event)
{
    return frequencyKeyPress(t1, event);
}

bool TForm2::t2KeyPress(QKeyEvent* event)
{
    return frequencyKeyPress(t2, event);
}

bool TForm2::frequencyKeyPress(QLineEdit* box, QKeyEvent* event)
{
    char32_t typed = 0;
    switch (event->key()) {
    case Qt::Key_Backspace:
        typed = zk::edit::kBackspace;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        typed = zk::edit::kEnter;
        break;
    case Qt::Key_Delete:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return false; // editing and focus keys, not typed characters
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
        return leaveByArrow(box, event);
    default:
        if (event->text().isEmpty())
            return false; // cursor keys and the like type nothing
        // The box's editing keys (undo, paste, select all) type no character;
        // what a paste brings passes the same filter (FrequencyFilter).
        if (event->modifiers() & Qt::ControlModifier)
            return false;
        typed = event->text().toUcs4().value(0);
        break;
    }

    switch (zk::edit::filterKey(static_cast<std::size_t>(box->text().size()), typed)) {
    case zk::edit::KeyAction::Pass:
        return false;
    case zk::edit::KeyAction::Drop:
        return true;
    case zk::edit::KeyAction::EndEdit:
        // Hiding the focused box moves the focus on, which commits it; the
        // grid then keeps the keyboard.
        box->hide();
        if (QApplication::focusWidget() != StringGrid1)
            StringGrid1->setFocus(Qt::OtherFocusReason);
        return true;
    }
    return true;
}

bool TForm2::leaveByArrow(QLineEdit* box, QKeyEvent* event)
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
    if (QApplication::focusWidget() != StringGrid1)
        StringGrid1->setFocus(Qt::OtherFocusReason);
    QKeyEvent move(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(StringGrid1, &move);
    return true;
}

void TForm2::t1Exit()
{
    zk::guarded(messages_, [this] { frequencyCommit(t1, zk::ColRx); });
}

void TForm2::t2Exit()
{
    zk::guarded(messages_, [this] { frequencyCommit(t2, zk::ColTx); });
}

bool TForm2::frequencyCommit(QLineEdit* box, int column)
{
    const int row = currentRow();
    if (row < 1 || row > zk::kChannels)
        return true; // no cell was ever selected
    const int other = column == zk::ColRx ? zk::ColTx : zk::ColRx;
    auto emptyCell = [&] { zk::clip::emptyFrequency(table_, column, row); };

    const int low = table_.lowLimit();
    const int high = table_.highLimit();
    const zk::edit::CommitDecision decision = zk::edit::decideFrequencyCommit(
        box->text().toStdString(), table_.cell(column, row), table_.cell(other, row), low, high);

    const QString step = column == zk::ColRx ? QStringLiteral("RX Frequency") : QStringLiteral("TX Frequency");
    bool taken = true;
    switch (decision.kind) {
    case zk::edit::CommitKind::EmptyEntry:
        // The box stays as it is.
        history_.record(step, emptyCell);
        return true;
    case zk::edit::CommitKind::NotANumber:
        // The cell keeps its text and the box its typing, for a correction.
        throw zk::invalidFloatError(decision.text);
    case zk::edit::CommitKind::Refuse:
        messages_.notice(zk::edit::rangeMessage(column, low, high));
        history_.record(step, emptyCell);
        taken = false;
        break;
    case zk::edit::CommitKind::Write:
        history_.record(step, [&] { table_.setCell(column, row, decision.text); });
        break;
    case zk::edit::CommitKind::WriteWithDefaults:
        history_.record(step, [&] {
            table_.setCell(column, row, decision.text);
            zk::clip::setRowDefaults(table_, row);
        });
        break;
    }
    setBoxText(box, QString());
    box->hide();
    return taken;
}

void TForm2::t3Click(int index)
{
    listCommit(t3, index);
}

void TForm2::t4Click(int index)
{
    listCommit(t4, index);
}

void TForm2::t5Click(int index)
{
    listCommit(t5, index);
}

void TForm2::t6Click(int index)
{
    listCommit(t6, index);
}

void TForm2::listCommit(QComboBox* list, int index)
{
    zk::guarded(messages_, [&] {
        list->hide();
        // Only a row with a frequency takes a tone, power or bandwidth.
        const int row = currentRow();
        if (row < 1 || row > zk::kChannels || table_.rowIsEmpty(row))
            return;
        history_.record(QStringLiteral("Pick"), [&] {
            table_.setCell(currentColumn(), row, list->itemText(index).toStdString());
        });
    });
}

void TForm2::openListFromKeyboard()
{
    zk::guarded(messages_, [this] {
        for (QComboBox* list : {t3, t4, t5, t6})
            if (list->isVisible())
                list->showPopup();
    });
}
