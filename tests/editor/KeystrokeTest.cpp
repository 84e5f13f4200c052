// No keystroke lost: a box still open when a command runs, lists left over
// a table that was emptied, pastes into a frequency box, and the keyboard
// ways through the grid.
#include "EditorHarness.h"

#include <QClipboard>
#include <QTemporaryDir>

#include <fstream>
#include <iterator>

namespace zk::test {
namespace {

class KeystrokeTest : public EditorTest {
protected:
    std::string path(const char* name) const { return dir.filePath(QString::fromLatin1(name)).toStdString(); }
    static std::string readAll(const std::string& file)
    {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    void pasteKeys() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier); }

    QTemporaryDir dir;
};

TEST_F(KeystrokeTest, TypedThenSaveClickedSavesWhatWasTyped)
{
    QLineEdit* t1 = openBox(1, 1);
    type("150"); // no Enter: the tool button takes no focus
    dialogs.answers = {path("typed")};
    clickToolButton("N3");
    EXPECT_EQ(messages.notices(), std::vector<std::string>{"Save success!"});
    EXPECT_EQ(readAll(path("typed.bc")).substr(0, 34), "1,150.00000, ,0FF,0FF,High,Wide,\r2");
    EXPECT_FALSE(t1->isVisible());
    EXPECT_FALSE(window->isWindowModified());
}

TEST_F(KeystrokeTest, ARefusedCommitStopsTheCommand)
{
    openBox(1, 1);
    type("999");
    clickToolButton("N3");
    EXPECT_EQ(messages.notices(), std::vector<std::string>{"RX Frequency in 136MHZ~174MHZ"});
    EXPECT_TRUE(dialogs.requests.empty()) << "Save did not run";

    QLineEdit* t2 = openBox(2, 1);
    type("1..2");
    clickMenuItem("MenuFile", "N3");
    EXPECT_EQ(messages.errors(), std::vector<std::string>{"'1..200000' is not a valid floating point value."});
    EXPECT_TRUE(dialogs.requests.empty());
    EXPECT_TRUE(t2->isVisible()) << "kept for a correction";
    EXPECT_EQ(t2->text(), "1..2");
}

TEST_F(KeystrokeTest, AListLeftShowingOverNewIsHiddenAndNeverFillsAnEmptyRow)
{
    loadRow(1, "145.00000", "");
    clickCell(3, 1);
    ASSERT_TRUE(list("t3")->isVisible());
    messages.answers = {true};
    clickToolButton("N1");
    EXPECT_FALSE(list("t3")->isVisible());

    // Emptied by something else while the list shows: a pick writes nothing.
    loadRow(2, "146.00000", "");
    clickCell(3, 2);
    window->table().clearChannels();
    pickFromList(list("t3"), 40);
    EXPECT_EQ(cell(3, 2), "");
}

TEST_F(KeystrokeTest, PastesIntoAFrequencyBoxPassTheKeyFilterAndLengthLimit)
{
    // Over selected text the paste is the box's own; with none it is the cell's.
    QLineEdit* t1 = openBox(1, 1);
    type("9");
    QTest::keyClick(t1, Qt::Key_A, Qt::ControlModifier);
    QApplication::clipboard()->setText(QStringLiteral("14x5.5"));
    pasteKeys();
    EXPECT_EQ(t1->text(), "145.5");
    QTest::keyClick(t1, Qt::Key_Left, Qt::ShiftModifier);
    QApplication::clipboard()->setText(QStringLiteral(" 0123456789 MHz"));
    pasteKeys();
    EXPECT_EQ(t1->text(), "145.01234") << "nine characters, no more";
    press(Qt::Key_Return);
    EXPECT_EQ(cell(1, 1), "") << "145.01234 is off the raster";

    // Typing into a box that holds a file's odd text leaves that text alone.
    loadRow(2, "abc", "");
    QLineEdit* again = openBox(1, 2);
    EXPECT_EQ(again->text(), "abc");
}

TEST_F(KeystrokeTest, ArrowsLeaveAFrequencyBoxAfterCommittingIt)
{
    openBox(1, 1);
    type("145");
    press(Qt::Key_Down);
    EXPECT_EQ(cell(1, 1), "145.00000");
    EXPECT_TRUE(box(1)->isVisible());
    EXPECT_EQ(child<QLineEdit>("Row")->text(), "2");
    EXPECT_EQ(QApplication::focusWidget(), box(1));

    press(Qt::Key_Right); // the box is empty: its end is its start
    EXPECT_TRUE(box(2)->isVisible());
    type("146");
    press(Qt::Key_Left); // inside the text: the cursor moves
    EXPECT_TRUE(box(2)->isVisible());
    press(Qt::Key_Up);
    EXPECT_EQ(cell(2, 2), "146.00000");
    EXPECT_EQ(child<QLineEdit>("Row")->text(), "1");
}

TEST_F(KeystrokeTest, F4AltDownAndSpaceOpenTheListOfTheCell)
{
    loadRow(1, "145.00000", "");
    const std::pair<Qt::Key, Qt::KeyboardModifiers> keys[] = {
        {Qt::Key_F4, Qt::NoModifier}, {Qt::Key_Down, Qt::AltModifier}, {Qt::Key_Space, Qt::NoModifier}};
    for (const auto& [key, modifiers] : keys) {
        clickCell(5, 1);
        QComboBox* t5 = list("t5");
        ASSERT_EQ(QApplication::focusWidget(), grid());
        QTest::keyClick(grid(), key, modifiers);
        ASSERT_TRUE(waitUntil([&] { return t5->view()->isVisible(); })) << key;
        QTest::keyClick(t5->view(), Qt::Key_Down);
        QTest::keyClick(t5->view(), Qt::Key_Return);
        ASSERT_TRUE(waitUntil([&] { return !t5->view()->isVisible(); }));
        EXPECT_EQ(cell(5, 1), "High");
    }
}

TEST_F(KeystrokeTest, StandardShortcutsReachTheCommands)
{
    EXPECT_EQ(action("N1")->shortcut(), QKeySequence(QKeySequence::New));
    EXPECT_EQ(action("N2")->shortcut(), QKeySequence(QKeySequence::Open));
    EXPECT_FALSE(action("N4")->shortcut().isEmpty()) << "Quit has a key on every platform";
    for (const QKeySequence& redo : QKeySequence::keyBindings(QKeySequence::Redo))
        EXPECT_TRUE(action("Redo")->shortcuts().contains(redo)) << redo.toString().toStdString();
    EXPECT_TRUE(action("Redo")->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Y)));
    clickCell(3, 1); // the grid keeps the keyboard
    QTest::keyClick(grid(), Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(dialogs.requests.size(), 1u);
    EXPECT_EQ(dialogs.requests[0].title, "Save");
    QTest::keyClick(grid(), Qt::Key_Q, Qt::ControlModifier); // answered No
    EXPECT_EQ(messages.questions(), std::vector<std::string>{"Do you want to close?"});

    // In a box, the box's own keys win: Ctrl+Z undoes the typing only.
    enterFrequency(1, 2, "145");
    QLineEdit* t1 = openBox(1, 1);
    type("14");
    QTest::keyClick(t1, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(t1->text(), "");
    EXPECT_EQ(cell(1, 2), "145.00000");
}

TEST(FilterInsertion, TypesTheInsertedCharactersOneByOne)
{
    std::size_t cursor = 0;
    EXPECT_EQ(edit::filterInsertion("", "14x5.5", cursor), "145.5");
    EXPECT_EQ(cursor, 5u);
    EXPECT_EQ(edit::filterInsertion("15", "1a4-\r5", cursor), "145");
    EXPECT_EQ(cursor, 2u);
    EXPECT_EQ(edit::filterInsertion("145.5", "145.5678901234", cursor), "145.56789");
    EXPECT_EQ(edit::filterInsertion("145.00000", "145.00000", cursor), "145.00000");
    EXPECT_EQ(edit::filterInsertion("145.0", "145", cursor), "145") << "a deletion passes";
    EXPECT_EQ(edit::filterInsertion("abc", "xabc", cursor), "abc") << "only the insertion is filtered";
}

} // namespace
} // namespace zk::test
