// The window knows when the plan differs from its file, asks before such
// changes would be lost, and takes back every change to the table.
#include "EditorHarness.h"

#include <QTemporaryDir>

#include <filesystem>

namespace zk::test {
namespace {

class UnsavedAndUndoTest : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        window->setWindowTitle(QStringLiteral("ZK-H41"));
        window->onQuit = [this] { ++quits; };
    }
    std::string path(const char* name) const { return dir.filePath(QString::fromLatin1(name)).toStdString(); }
    void undo() { QTest::keyClick(grid(), Qt::Key_Z, Qt::ControlModifier); }
    void redo() { action("Redo")->trigger(); }

    QTemporaryDir dir;
    int quits = 0;
};

TEST_F(UnsavedAndUndoTest, TheCaptionMarksAPlanThatDiffersFromItsFile)
{
    EXPECT_EQ(window->windowTitle(), "ZK-H41[*]");
    EXPECT_FALSE(window->isWindowModified());
    enterFrequency(1, 1, "145");
    EXPECT_TRUE(window->isWindowModified());
    dialogs.answers = {path("plan")};
    clickToolButton("N3");
    EXPECT_FALSE(window->isWindowModified());
    enterFrequency(1, 1, "146");
    EXPECT_TRUE(window->isWindowModified());
    undo();
    EXPECT_EQ(cell(1, 1), "145.00000");
    EXPECT_FALSE(window->isWindowModified()) << "back to what the file holds";
}

TEST_F(UnsavedAndUndoTest, QuitAsksSaveDiscardOrCancelFirst)
{
    enterFrequency(1, 1, "145");
    messages.saveAnswers = {SaveChoice::Cancel};
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(messages.questions().empty()) << "Cancel: not even the close question";
    EXPECT_EQ(messages.saveQuestions(),
              std::vector<std::string>{"The channel plan has unsaved changes. Do you want to save them?"});

    messages.saveAnswers = {SaveChoice::Save};
    dialogs.answers = {std::nullopt};
    EXPECT_FALSE(window->close()) << "the save dialog was cancelled";
    EXPECT_TRUE(messages.questions().empty());

    messages.saveAnswers = {SaveChoice::Save};
    dialogs.answers = {path("kept")};
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(std::filesystem::exists(path("kept.bc")));
    EXPECT_TRUE(messages.questions().empty()) << "Save already said go on: one question, not two";
    EXPECT_EQ(quits, 1);
}

TEST_F(UnsavedAndUndoTest, ReadAsksAboutUnsavedChangesBeforeTheReadDialog)
{
    int reads = 0;
    window->onRead = [&] { ++reads; };
    clickToolButton("N6");
    EXPECT_EQ(reads, 1);
    EXPECT_TRUE(messages.saveQuestions().empty()) << "nothing to lose, nothing asked";

    enterFrequency(1, 1, "145");
    messages.saveAnswers = {SaveChoice::Cancel};
    clickMenuItem("MenuEdit", "N6");
    EXPECT_EQ(reads, 1) << "Cancel keeps the plan and reads nothing";
    EXPECT_EQ(messages.saveQuestions(),
              std::vector<std::string>{"The channel plan has unsaved changes. Do you want to save them?"});
    EXPECT_EQ(cell(1, 1), "145.00000");

    messages.saveAnswers = {SaveChoice::Save};
    dialogs.answers = {path("before-read")};
    clickToolButton("N6");
    EXPECT_EQ(reads, 2);
    EXPECT_TRUE(std::filesystem::exists(path("before-read.bc")));
    EXPECT_TRUE(messages.questions().empty());
}

TEST_F(UnsavedAndUndoTest, NewWithUnsavedChangesAsksOnce)
{
    enterFrequency(1, 1, "145");
    messages.saveAnswers = {SaveChoice::Discard};
    clickToolButton("N1");
    EXPECT_EQ(messages.saveQuestions().size(), 1u);
    EXPECT_TRUE(messages.questions().empty()) << "Discard already said go on";
    EXPECT_EQ(cell(1, 1), "");
    EXPECT_FALSE(window->isWindowModified());
}

TEST_F(UnsavedAndUndoTest, NothingUnsavedAsksNothingMore)
{
    messages.answers = {true, true};
    clickToolButton("N1");
    clickMenuItem("MenuEdit", "N10");
    EXPECT_TRUE(messages.saveQuestions().empty());
    EXPECT_EQ(messages.questions(), std::vector<std::string>{"Do you want to New?"});
}

TEST_F(UnsavedAndUndoTest, EveryChangeToTheTableIsUndoneAndRedone)
{
    enterFrequency(1, 1, "145");               // a cell commit
    clickCell(3, 1);
    pickFromList(list("t3"), 40);              // a list choice
    pickFromList(list("c2"), 3);               // a setting
    clickMenuItem("MenuEdit", "N16");          // a band change (Discard)
    dialogs.answers = {path("saved")};
    clickToolButton("N3");
    messages.answers = {true};
    clickToolButton("N1");                     // New
    ASSERT_EQ(window->table().band(), 4);

    const auto rowOne = [&] { return cell(1, 1) + "|" + cell(3, 1); };
    undo(); // New
    EXPECT_EQ(window->table().setting(1), 3);
    undo(); // band
    EXPECT_EQ(window->table().band(), 1);
    EXPECT_TRUE(action("N9")->isChecked());
    EXPECT_EQ(rowOne(), "145.00000|D023N");
    undo(); // setting
    EXPECT_EQ(window->table().setting(1), 0);
    EXPECT_EQ(list("c2")->currentIndex(), 0);
    undo(); // pick
    EXPECT_EQ(rowOne(), "145.00000|0FF");
    undo(); // commit
    EXPECT_EQ(rowOne(), "|");
    EXPECT_FALSE(action("Undo")->isEnabled());

    for (int i = 0; i < 5; ++i)
        redo();
    EXPECT_EQ(window->table().band(), 4);
    EXPECT_EQ(rowOne(), "|");
    EXPECT_FALSE(action("Redo")->isEnabled());

    dialogs.answers = {path("saved.bc")};
    clickToolButton("N2");                     // Open
    EXPECT_EQ(window->table().setting(1), 3);
    undo();
    EXPECT_EQ(window->table().setting(1), 0);
}

} // namespace
} // namespace zk::test
