// Quitting from the close box and from both Quit commands.
#include "EditorHarness.h"


namespace zk::test {
namespace {

class QuitTest : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        // Stands in for ending the event loop, which would also end every
        // later test's modal loops.
        window->onQuit = [this] { ++quits; };
    }
    int quits = 0;
};

TEST_F(QuitTest, CloseBoxAnsweredNoKeepsTheWindowAndEverything)
{
    loadRow(1, "145.00000", "");
    window->history().markSaved(); // as from a file: the close question comes
    messages.answers = {false};
    EXPECT_FALSE(window->close());
    EXPECT_EQ(messages.questions(), std::vector<std::string>{"Do you want to close?"});
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(quits, 0);
    EXPECT_EQ(cell(1, 1), "145.00000");
}

TEST_F(QuitTest, CloseBoxAnsweredYesEndsTheProgram)
{
    messages.answers = {true};
    EXPECT_TRUE(window->close());
    EXPECT_EQ(quits, 1);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(QuitTest, QuitInTheFileMenu)
{
    messages.answers = {false, true};
    clickMenuItem("MenuFile", "N4");
    EXPECT_EQ(quits, 0);
    EXPECT_TRUE(window->isVisible());
    clickMenuItem("MenuFile", "N4");
    EXPECT_EQ(quits, 1);
    EXPECT_EQ(messages.questions(), (std::vector<std::string>{"Do you want to close?", "Do you want to close?"}));
}

TEST_F(QuitTest, TopLevelQuitItem)
{
    QMenuBar* bar = window->menuBar();
    messages.answers = {false};
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->actionGeometry(action("N15")).center());
    EXPECT_EQ(messages.questions().size(), 1u);
    EXPECT_EQ(quits, 0);
    messages.answers = {true};
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->actionGeometry(action("N15")).center());
    EXPECT_EQ(messages.questions().size(), 2u);
    EXPECT_EQ(quits, 1);
}

} // namespace
} // namespace zk::test
