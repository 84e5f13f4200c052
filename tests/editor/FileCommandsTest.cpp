// New, Open and Save through the menu and the tool bar, with the dialog and
// message seams answering.
#include "EditorHarness.h"

#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <iterator>

#include <sys/stat.h>

namespace zk::test {
namespace {

std::string readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeAll(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

class FileCommandsTest : public EditorTest {
protected:
    std::string path(const char* name) const { return dir.filePath(QString::fromLatin1(name)).toStdString(); }

    QTemporaryDir dir;
};

TEST_F(FileCommandsTest, NewAnsweredNoChangesNothing)
{
    loadRow(1, "145.00000", "", "D023N");
    window->table().setSetting(2, 5);
    window->history().markSaved(); // as from a file: New's own question comes
    messages.answers = {false};
    clickMenuItem("MenuFile", "N1");
    EXPECT_EQ(messages.questions(), std::vector<std::string>{"Do you want to New?"});
    EXPECT_EQ(cell(1, 1), "145.00000");
    EXPECT_EQ(window->table().setting(2), 5);
}

TEST_F(FileCommandsTest, NewAnsweredYesEmptiesChannelsAndResetsSettings)
{
    loadRow(1, "145.00000", "", "D023N");
    loadRow(16, "", "150.00000");
    window->table().setSetting(0, 1);
    window->table().setSetting(4, -1);
    clickMenuItem("MenuEdit", "N10");
    messages.answers = {true};
    clickToolButton("N1");
    for (int r = 1; r <= 16; ++r) {
        EXPECT_EQ(shown(0, r), std::to_string(r));
        for (int c = 1; c <= 6; ++c)
            EXPECT_EQ(shown(c, r), "");
    }
    const char* firstItems[] = {"OFF", "0FF", "0", "OFF", "1"};
    const char* names[] = {"c1", "c2", "c3", "c4", "c5"};
    for (int s = 0; s < 5; ++s) {
        EXPECT_EQ(window->table().setting(s), 0);
        EXPECT_EQ(list(names[s])->currentText().toStdString(), firstItems[s]);
    }
    EXPECT_EQ(window->table().band(), 2) << "New keeps the band";
}

TEST_F(FileCommandsTest, SaveAfterNewWritesTheEmptyPlan)
{
    messages.answers = {true};
    clickToolButton("N1");
    dialogs.answers = {path("plan")};
    clickToolButton("N3");
    ASSERT_EQ(dialogs.requests.size(), 1u);
    EXPECT_TRUE(dialogs.requests[0].save);
    EXPECT_EQ(dialogs.requests[0].title, "Save");
    EXPECT_EQ(dialogs.requests[0].filter, "*.bc");
    EXPECT_EQ(messages.notices(), std::vector<std::string>{"Save success!"});

    const std::string bytes = readAll(path("plan.bc"));
    EXPECT_EQ(bytes.size(), 263u);
    EXPECT_EQ(bytes.substr(0, 16), "1, , , , , , ,\r2");
    EXPECT_EQ(bytes.substr(bytes.size() - 7), "0,\r0,\r\n");
    EXPECT_FALSE(std::filesystem::exists(path("plan")));
}

TEST_F(FileCommandsTest, SaveKeepsANameThatEndsInBc)
{
    dialogs.answers = {path("mine.bc")};
    clickMenuItem("MenuFile", "N3");
    EXPECT_TRUE(std::filesystem::exists(path("mine.bc")));
    EXPECT_FALSE(std::filesystem::exists(path("mine.bc.bc")));
    EXPECT_TRUE(messages.questions().empty()) << "the dialog itself asked about this name";
}

TEST_F(FileCommandsTest, SaveCancelledDoesNothing)
{
    clickToolButton("N3");
    EXPECT_EQ(dialogs.requests.size(), 1u);
    EXPECT_TRUE(messages.entries.empty());
}

TEST_F(FileCommandsTest, SaveAsksBeforeReplacingTheCompletedName)
{
    writeAll(path("plan.bc"), "keep me");
    dialogs.answers = {path("plan"), path("plan")};
    messages.answers = {false, true};

    clickToolButton("N3");
    EXPECT_EQ(messages.questions(), std::vector<std::string>{"plan.bc already exists. Do you want to replace it?"});
    EXPECT_EQ(readAll(path("plan.bc")), "keep me");
    EXPECT_TRUE(messages.notices().empty());

    clickToolButton("N3");
    EXPECT_EQ(readAll(path("plan.bc")).size(), 263u);
    EXPECT_EQ(messages.notices(), std::vector<std::string>{"Save success!"});
}

TEST_F(FileCommandsTest, SaveThatCannotCreateTheFileShowsTheErrorBox)
{
    dialogs.answers = {path("missing-folder/plan")};
    clickToolButton("N3");
    ASSERT_EQ(messages.errors().size(), 1u);
    EXPECT_EQ(messages.errors()[0].rfind("Cannot create file \"" + path("missing-folder/plan.bc") + "\". ", 0), 0u)
        << messages.errors()[0];
    EXPECT_TRUE(messages.notices().empty());
}

TEST_F(FileCommandsTest, SaveThenOpenGivesEverythingBack)
{
    enterFrequency(1, 1, "145");
    enterFrequency(2, 1, "145.6");
    clickCell(3, 1);
    pickFromList(list("t3"), 40);
    enterFrequency(2, 9, "150.0125");
    pickFromList(list("c2"), 3);
    pickFromList(list("c4"), 1);
    dialogs.answers = {path("round")};
    clickToolButton("N3");

    const zk::ChannelTable saved = window->table();
    messages.answers = {true};
    clickToolButton("N1");
    ASSERT_EQ(cell(1, 1), "");

    dialogs.answers = {path("round.bc")};
    clickMenuItem("MenuFile", "N2");
    ASSERT_EQ(dialogs.requests.back().title, "Open");
    EXPECT_FALSE(dialogs.requests.back().save);
    EXPECT_EQ(dialogs.requests.back().filter, "*.bc");
    for (int r = 0; r <= 16; ++r)
        for (int c = 0; c <= 6; ++c)
            EXPECT_EQ(shown(c, r), saved.cell(c, r)) << c << "," << r;
    EXPECT_EQ(cell(3, 1), "D023N");
    EXPECT_EQ(list("c2")->currentText(), "45");
    EXPECT_EQ(list("c4")->currentText(), "ON");
    EXPECT_TRUE(messages.errors().empty());
}

TEST_F(FileCommandsTest, OpenCancelledOrMissingLeavesTheTable)
{
    loadRow(1, "145.00000", "");
    clickToolButton("N2");
    EXPECT_EQ(cell(1, 1), "145.00000");

    dialogs.answers = {path("nothing-here.bc")};
    clickToolButton("N2");
    ASSERT_EQ(messages.errors().size(), 1u);
    EXPECT_EQ(messages.errors()[0].rfind("Cannot open file \"" + path("nothing-here.bc") + "\". ", 0), 0u)
        << messages.errors()[0];
    EXPECT_EQ(cell(1, 1), "145.00000");

    // A pipe once froze the window waiting for a writer; a save would have
    // put a plain file in its place.
    const std::string pipe = path("pipe.bc");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    messages.clear();
    dialogs.answers = {pipe, path("pipe")};
    messages.answers = {true}; // yes, replace pipe.bc
    clickToolButton("N2");
    clickToolButton("N3");
    EXPECT_EQ(messages.errors(), (std::vector<std::string>{"Cannot open file \"" + pipe + "\". It is a pipe, not a file.",
                                                          "Cannot create file \"" + pipe + "\". It is a pipe, not a file."}));
    EXPECT_EQ(cell(1, 1), "145.00000");
    EXPECT_TRUE(std::filesystem::is_fifo(pipe));
}

TEST_F(FileCommandsTest, OpenWithOnlyTheRowLinesLoadsTheRowsThenReportsTheMissingRecord)
{
    std::string rows;
    for (int r = 1; r <= 16; ++r)
        rows += std::to_string(r) + ",146.00000, ,OFF,D023N,Low,Narrow,\r\n";
    writeAll(path("rows.bc"), rows);
    enterFrequency(1, 3, "150.125"); // an unsaved plan
    window->table().setSetting(1, 7);
    dialogs.answers = {path("rows.bc")};
    messages.saveAnswers = {SaveChoice::Discard};
    clickToolButton("N2");
    EXPECT_EQ(messages.errors(), std::vector<std::string>{"List index out of bounds (16)"});
    for (int r = 1; r <= 16; ++r) {
        EXPECT_EQ(shown(1, r), "146.00000");
        EXPECT_EQ(shown(2, r), "");
        EXPECT_EQ(shown(4, r), "D023N");
    }
    EXPECT_EQ(window->table().setting(1), 7);
    EXPECT_EQ(list("c2")->currentText(), "105");
    EXPECT_TRUE(window->isWindowModified());

    // What the failed open replaced comes back with Undo.
    action("Undo")->trigger();
    EXPECT_EQ(shown(1, 3), "150.12500");
    EXPECT_EQ(shown(3, 3), "0FF");
    EXPECT_EQ(shown(1, 1), "");
    EXPECT_EQ(shown(4, 1), "");
    EXPECT_EQ(window->table().setting(1), 7);
}

TEST_F(FileCommandsTest, OpenWithABadSettingKeepsTheSettingsBeforeIt)
{
    std::string text;
    for (int r = 1; r <= 16; ++r)
        text += std::to_string(r) + ", , , , , , ,\r";
    text += "2,\r9,\rx,\r1,\r1,\r\n";
    writeAll(path("bad.bc"), text);
    dialogs.answers = {path("bad.bc")};
    clickToolButton("N2");
    EXPECT_EQ(messages.errors(), std::vector<std::string>{"'x' is not a valid integer value."});
    EXPECT_EQ(list("c1")->currentText(), "English");
    EXPECT_EQ(list("c2")->currentText(), "135");
    EXPECT_EQ(list("c3")->currentText(), "0");
    EXPECT_EQ(list("c4")->currentText(), "OFF");
}

TEST_F(FileCommandsTest, OpenedIndexBeyondTheListLeavesNoSelectionAndRunsNoPick)
{
    std::string text;
    for (int r = 1; r <= 16; ++r)
        text += std::to_string(r) + ", , , , , , ,\r";
    text += "0,\r0,\r0,\r5,\r-1,\r\n";
    writeAll(path("sel.bc"), text);
    dialogs.answers = {path("sel.bc")};
    clickToolButton("N2");
    EXPECT_TRUE(messages.errors().empty());
    EXPECT_EQ(list("c4")->currentIndex(), -1);
    EXPECT_EQ(list("c5")->currentIndex(), -1);
    EXPECT_EQ(window->portStatusText(), "No Port!");
}

} // namespace
} // namespace zk::test
