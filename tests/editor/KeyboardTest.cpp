// The keyboard as spreadsheet users expect it: copy and paste of a cell
// from its open box, Escape, typing on a selected cell, Ctrl+Y, and the
// access letters of the menus.
#include "ActionMenus.h"
#include "EditorHarness.h"

#include <QClipboard>

#include <set>

namespace zk::test {
namespace {

class KeyboardTest : public EditorTest {
protected:
    void ctrl(Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key, Qt::ControlModifier); }
    std::string clipboard() const { return QApplication::clipboard()->text().toStdString(); }
};

TEST_F(KeyboardTest, CtrlCAndCtrlVInAnOpenBoxCopyAndPasteTheCell)
{
    loadRow(1, "146.01250", "");
    openBox(1, 1);
    ctrl(Qt::Key_C);
    EXPECT_EQ(clipboard(), "146.01250\n");
    openBox(1, 4);
    ctrl(Qt::Key_V);
    EXPECT_EQ(cell(1, 4) + "|" + cell(3, 4) + "|" + cell(6, 4), "146.01250|0FF|Wide") << "a new channel, as if typed";

    // Through the rules of typing: what typing could not enter is refused.
    QApplication::clipboard()->setText(QStringLiteral("14x6"));
    openBox(2, 4);
    ctrl(Qt::Key_V);
    EXPECT_EQ(messages.notices(), std::vector<std::string>{"Nothing was pasted. These cells were refused:\n"
                                                           "Channel 4, TX Frequency \"14x6\": not a frequency"});
    // With text selected, the keys are the box's own.
    QLineEdit* t1 = openBox(1, 1);
    ctrl(Qt::Key_A);
    ctrl(Qt::Key_C);
    EXPECT_EQ(clipboard(), "146.01250") << "the selected text, no line end";
    EXPECT_TRUE(t1->isVisible());
}

TEST_F(KeyboardTest, EscapeKeepsTheCellAndTypingADigitOpensTheBoxWithIt)
{
    loadRow(1, "145.00000", "");
    loadRow(4, "150.00000", "", "D023N"); // cells typing "1" or "D" used to jump to
    QLineEdit* t1 = openBox(1, 1);
    press(Qt::Key_Backspace);
    type("9");
    press(Qt::Key_Escape);
    EXPECT_FALSE(t1->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), grid());
    EXPECT_EQ(cell(1, 1), "145.00000");

    type("1");
    EXPECT_TRUE(t1->isVisible());
    EXPECT_EQ(t1->text(), "1");
    type("47x.5");
    press(Qt::Key_Return);
    EXPECT_EQ(cell(1, 1), "147.50000");

    clickCell(3, 1); // a tone cell: typing neither opens a box nor moves
    type("5D");
    EXPECT_EQ(grid()->currentRow(), 1);
    EXPECT_FALSE(t1->isVisible());
    EXPECT_TRUE(messages.entries.empty());
}

TEST_F(KeyboardTest, CtrlYRedoesWhateverTheDesktopsRedoKeys)
{
    enterFrequency(1, 1, "145");
    ctrl(Qt::Key_Z);
    ASSERT_EQ(cell(1, 1), "");
    ctrl(Qt::Key_Y);
    EXPECT_EQ(cell(1, 1), "145.00000");
    const QKeySequence ctrlY(Qt::CTRL | Qt::Key_Y);
    const QKeySequence ctrlShiftZ(Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
    EXPECT_EQ(redoKeys({ctrlShiftZ}), (QList<QKeySequence>{ctrlShiftZ, ctrlY}));
    EXPECT_EQ(redoKeys({ctrlY, ctrlShiftZ}), (QList<QKeySequence>{ctrlY, ctrlShiftZ}));
}

TEST_F(KeyboardTest, EveryMenuItemHasAnAccessLetterOfItsOwnAndAltReachesIt)
{
    for (const char* name : {"MenuFile", "MenuEdit", "MenuHelp"}) {
        std::set<QKeySequence> letters;
        for (QAction* item : child<QMenu>(name)->actions()) {
            const QKeySequence letter = QKeySequence::mnemonic(item->text());
            if (!item->isSeparator() && item->isEnabled()) {
                EXPECT_TRUE(!letter.isEmpty() && letters.insert(letter).second) << item->text().toStdString();
            }
        }
    }
    EXPECT_EQ(action("N17")->text(), "UHF:440-&520") << "a band's letter is its number";

    QMenu* file = child<QMenu>("MenuFile");
    QTest::keyClick(window.get(), Qt::Key_F, Qt::AltModifier);
    ASSERT_TRUE(waitUntil([&] { return file->isVisible(); }));
    QTest::keyClick(file, Qt::Key_O);
    ASSERT_EQ(dialogs.requests.size(), 1u);
    EXPECT_EQ(dialogs.requests[0].title, "Open");
    QMenu* edit = child<QMenu>("MenuEdit");
    QTest::keyClick(window.get(), Qt::Key_E, Qt::AltModifier);
    ASSERT_TRUE(waitUntil([&] { return edit->isVisible(); }));
    QTest::keyClick(edit, Qt::Key_4);
    EXPECT_TRUE(action("N16")->isChecked());
}

} // namespace
} // namespace zk::test
