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
    EXPECT_TRUE(messages.questions().empty()) << "no confirmation";
    EXPECT_EQ(messages.saveQuestions().size(), 1u) << "the loaded channels were never saved";

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

TEST_F(BandMenuTest, AnOpenBoxGoesWithoutWritingWhenTheBandEmptiesTheTable)
{
    QLineEdit* t1 = openBox(1, 2);
    type("445");
    clickMenuItem("MenuEdit", "N16");
    EXPECT_FALSE(t1->isVisible());
    EXPECT_EQ(t1->text(), "");
    clickCell(1, 5);
    EXPECT_EQ(cell(1, 2), "") << "the typing was not written later against the new band";
    EXPECT_TRUE(messages.entries.empty());

    // With channels to lose, the question comes first and the box is not
    // committed against the old band.
    loadRow(3, "440.00000", "");
    openBox(1, 4);
    type("150");
    clickMenuItem("MenuEdit", "N9");
    EXPECT_EQ(messages.saveQuestions().size(), 1u);
    EXPECT_TRUE(messages.notices().empty()) << "no range message for 150 at band 4";
    EXPECT_EQ(window->table().band(), 1);
    EXPECT_FALSE(box(1)->isVisible());
    EXPECT_EQ(cell(1, 4), "");
}

TEST_F(BandMenuTest, NewCommitsAnOpenBoxBeforeAskingAndThenHidesIt)
{
    loadRow(1, "145.00000", "");
    window->history().markSaved();
    openBox(2, 1);
    type("145.0025"); // off the raster, fine while RX is set
    messages.saveAnswers = {SaveChoice::Cancel};
    clickToolButton("N1");
    EXPECT_EQ(cell(2, 1), "145.00250") << "committed before the question";
    EXPECT_EQ(messages.saveQuestions().size(), 1u);
    EXPECT_TRUE(messages.questions().empty()) << "Cancel stops New";

    clickToolButton("N1"); // Discard
    EXPECT_EQ(messages.saveQuestions().size(), 2u);
    EXPECT_TRUE(messages.questions().empty()) << "Discard already said go on";
    EXPECT_EQ(cell(1, 1), "");
    EXPECT_EQ(cell(2, 1), "");
    EXPECT_FALSE(box(2)->isVisible());
    EXPECT_TRUE(messages.notices().empty());
}

} // namespace
} // namespace zk::test
