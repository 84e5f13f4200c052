// The band items of the Edit menu, clicked in the menu.
#include "EditorHarness.h"

namespace zk::test {
namespace {

class BandMenuTest : public EditorTest {
protected:
    std::vector<std::string> checkedBands() const
    {
        std::vector<std::string> checked;
        for (const char* name : {"N9", "N10", "N11", "N16", "N17"})
            if (action(name)->isChecked())
                checked.push_back(name);
        return checked;
    }
};

TEST_F(BandMenuTest, AnotherBandEmptiesTheChannelsAndSetsItsLimits)
{
    loadRow(1, "145.00000", "146.00000", "D023N");
    loadRow(16, "150.00000", "", "88.5HZ");
    window->table().setSetting(0, 2);
    clickMenuItem("MenuEdit", "N16");

    EXPECT_EQ(checkedBands(), std::vector<std::string>{"N16"});
    EXPECT_EQ(window->table().lowLimit(), 400);
    EXPECT_EQ(window->table().highLimit(), 490);
    for (int r = 1; r <= 16; ++r) {
        EXPECT_EQ(cell(0, r), std::to_string(r));
        for (int c = 1; c <= 6; ++c)
            EXPECT_EQ(shown(c, r), "") << c << "," << r;
    }
    EXPECT_EQ(window->table().setting(0), 2) << "the settings stay";
    EXPECT_EQ(list("c1")->currentText(), "English");
    EXPECT_TRUE(messages.entries.empty()) << "no question is asked";

    enterFrequency(1, 1, "145");
    EXPECT_EQ(messages.notices(), std::vector<std::string>{"RX Frequency in 400MHZ~490MHZ"});
    enterFrequency(1, 1, "445");
    EXPECT_EQ(cell(1, 1), "445.00000");
}

TEST_F(BandMenuTest, TheCurrentBandKeepsEverything)
{
    loadRow(2, "145.00000", "", "D023N");
    clickMenuItem("MenuEdit", "N9");
    EXPECT_EQ(checkedBands(), std::vector<std::string>{"N9"});
    EXPECT_EQ(cell(1, 2), "145.00000");
    EXPECT_EQ(cell(3, 2), "D023N");
    EXPECT_EQ(window->table().band(), 1);
}

TEST_F(BandMenuTest, EveryBandHasItsLimitsAndExactlyOneCheckMark)
{
    const std::tuple<const char*, int, int> bands[] = {
        {"N10", 220, 260}, {"N11", 340, 390}, {"N16", 400, 490}, {"N17", 440, 520}, {"N9", 136, 174}};
    for (const auto& [name, low, high] : bands) {
        clickMenuItem("MenuEdit", name);
        EXPECT_EQ(checkedBands(), std::vector<std::string>{name});
        EXPECT_EQ(window->table().lowLimit(), low) << name;
        EXPECT_EQ(window->table().highLimit(), high) << name;
    }
}

TEST_F(BandMenuTest, AnOpenBoxCommitsLaterAgainstTheNewBand)
{
    QLineEdit* t1 = openBox(1, 2);
    type("445");
    clickMenuItem("MenuEdit", "N16");
    EXPECT_TRUE(t1->isVisible()) << "the menu did not end the edit";
    EXPECT_EQ(t1->text(), "445");
    EXPECT_EQ(QApplication::focusWidget(), t1);
    EXPECT_EQ(cell(1, 2), "");

    clickCell(1, 5);
    EXPECT_EQ(cell(1, 2), "445.00000");
    EXPECT_EQ(cell(5, 2), "High");
    EXPECT_TRUE(messages.entries.empty());
}

TEST_F(BandMenuTest, AnOpenBoxIsRefusedLaterByTheNewBand)
{
    openBox(2, 3);
    type("145");
    clickMenuItem("MenuEdit", "N11");
    press(Qt::Key_Return);
    EXPECT_EQ(messages.notices(), std::vector<std::string>{"TX Frequency in 340MHZ~390MHZ"});
    EXPECT_EQ(cell(2, 3), "");
}

TEST_F(BandMenuTest, AnOpenBoxSurvivesNewAndCommitsAgainstTheRowAsItIsThen)
{
    loadRow(1, "145.00000", "");
    openBox(2, 1);
    type("145.0025"); // off the raster, fine while RX is set
    messages.answers = {true};
    clickToolButton("N1");
    EXPECT_EQ(messages.questions(), std::vector<std::string>{"Do you want to New?"});
    EXPECT_EQ(cell(1, 1), "");
    EXPECT_EQ(QApplication::focusWidget(), box(2));

    clickCell(1, 8);
    EXPECT_EQ(messages.notices(), std::vector<std::string>{"TX Frequency in 136MHZ~174MHZ"})
        << "RX is empty by now, so the step rule applies";
    EXPECT_EQ(cell(2, 1), "");
}

} // namespace
} // namespace zk::test
