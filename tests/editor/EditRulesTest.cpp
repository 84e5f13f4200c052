// The frequency editor's pure rules: key filter, normalisation, commit decision.
#include "EditRules.h"

#include <gtest/gtest.h>

#include <ostream>

namespace zk::edit {
namespace {

TEST(KeyFilter, DigitsAndPointPassBelowNineCharacters)
{
    for (char32_t c = U'0'; c <= U'9'; ++c)
        EXPECT_EQ(filterKey(0, c), KeyAction::Pass);
    EXPECT_EQ(filterKey(8, U'7'), KeyAction::Pass);
    EXPECT_EQ(filterKey(3, U'.'), KeyAction::Pass);
    EXPECT_EQ(filterKey(4, U'.'), KeyAction::Pass) << "nothing limits the number of points";
}

TEST(KeyFilter, EverythingElseIsDropped)
{
    for (char32_t c : {U'a', U'Z', U'-', U'+', U',', U' ', U'\t', char32_t(27), char32_t(1), U'é', U'٣'})
        EXPECT_EQ(filterKey(2, c), KeyAction::Drop) << static_cast<unsigned>(c);
}

TEST(KeyFilter, NinthCharacterIsTheLast)
{
    EXPECT_EQ(filterKey(9, U'5'), KeyAction::Drop);
    EXPECT_EQ(filterKey(9, U'.'), KeyAction::Drop);
    EXPECT_EQ(filterKey(12, U'1'), KeyAction::Drop);
}

TEST(KeyFilter, BackspaceAndEnterAlwaysWork)
{
    for (std::size_t length : {0u, 5u, 9u, 15u}) {
        EXPECT_EQ(filterKey(length, kBackspace), KeyAction::Pass) << length;
        EXPECT_EQ(filterKey(length, kEnter), KeyAction::EndEdit) << length;
    }
}

TEST(Normalisation, FillsUpToNineCharacters)
{
    EXPECT_EQ(normaliseFrequency("145"), "145.00000");
    EXPECT_EQ(normaliseFrequency("145.5"), "145.50000");
    EXPECT_EQ(normaliseFrequency("146.0125"), "146.01250");
    EXPECT_EQ(normaliseFrequency("145."), "145.00000");
    EXPECT_EQ(normaliseFrequency("1"), "1.0000000");
    EXPECT_EQ(normaliseFrequency(".5"), ".50000000");
}

TEST(Normalisation, LonePointBecomesEmptyAndLongTextsStay)
{
    EXPECT_EQ(normaliseFrequency("."), "");
    EXPECT_EQ(normaliseFrequency("145.50000"), "145.50000");
    EXPECT_EQ(normaliseFrequency("145500000"), "145500000.");
    EXPECT_EQ(normaliseFrequency("145.500001"), "145.500001");
    EXPECT_EQ(normaliseFrequency("1.4.5"), "1.4.50000");
}

TEST(StorableFrequency, ThreeDigitsPointFiveDigits)
{
    EXPECT_TRUE(isStorableFrequency("145.00000"));
    EXPECT_FALSE(isStorableFrequency("0136.0000"));
    EXPECT_FALSE(isStorableFrequency("145.0000"));
    EXPECT_FALSE(isStorableFrequency("145.000000"));
    EXPECT_FALSE(isStorableFrequency("+45.00000"));
    EXPECT_FALSE(isStorableFrequency("145.0000 "));
}

TEST(StepRule, MultiplesOfFivePointTwoFiveAndFiveKilohertz)
{
    EXPECT_TRUE(meetsStepRule("146.01250"));  // 625 x 23362
    EXPECT_TRUE(meetsStepRule("145.00500"));  // 500 x 29001
    EXPECT_FALSE(meetsStepRule("145.00250")); // neither
    EXPECT_FALSE(meetsStepRule("145.00001"));
}

struct CommitCase {
    const char* typed;
    const char* old;
    const char* other;
    CommitKind kind;
    const char* text;
};

void PrintTo(const CommitCase& c, std::ostream* out)
{
    *out << "typed[" << c.typed << "]old[" << c.old << "]other[" << c.other << "]";
}

class CommitDecisionTest : public ::testing::TestWithParam<CommitCase> {};

TEST_P(CommitDecisionTest, AtBandOne)
{
    const CommitCase& c = GetParam();
    const CommitDecision d = decideFrequencyCommit(c.typed, c.old, c.other, 136, 174);
    EXPECT_EQ(d.kind, c.kind) << "typed '" << c.typed << "'";
    EXPECT_EQ(d.text, c.text) << "typed '" << c.typed << "'";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CommitDecisionTest,
    ::testing::Values(
        // empty entry, whatever the cells hold
        CommitCase{"", "145.00000", "", CommitKind::EmptyEntry, ""},
        // a new channel's first frequency gets the defaults when on the raster
        CommitCase{"145", "", "", CommitKind::WriteWithDefaults, "145.00000"},
        CommitCase{"146.0125", "", "", CommitKind::WriteWithDefaults, "146.01250"},
        CommitCase{"145.0025", "", "", CommitKind::Refuse, "145.00250"},
        // the other frequency set: no step rule, no defaults
        CommitCase{"145.0025", "", "145.00000", CommitKind::Write, "145.00250"},
        // the same text again: written as it is, without defaults
        CommitCase{"145.0025", "145.00250", "", CommitKind::Write, "145.00250"},
        // a changed first frequency of a row gets the defaults again
        CommitCase{"150", "145.00000", "", CommitKind::WriteWithDefaults, "150.00000"},
        // band limits are inclusive, the next 10 Hz outside are not
        CommitCase{"136", "", "", CommitKind::WriteWithDefaults, "136.00000"},
        CommitCase{"174", "", "", CommitKind::WriteWithDefaults, "174.00000"},
        CommitCase{"135.99999", "", "", CommitKind::Refuse, "135.99999"},
        CommitCase{"174.00001", "", "145.00000", CommitKind::Refuse, "174.00001"},
        // the range test comes before the comparison with the old text
        CommitCase{"430.00000", "430.00000", "", CommitKind::Refuse, "430.00000"},
        // not numbers
        CommitCase{".", "145.00000", "", CommitKind::NotANumber, ""},
        CommitCase{"14.5.5", "", "", CommitKind::NotANumber, "14.5.5000"},
        CommitCase{"1..", "", "", CommitKind::NotANumber, "1..000000"},
        // leading zeros: in the band as a number, but not storable
        CommitCase{"0136.0000", "", "145.00000", CommitKind::Refuse, "0136.0000"},
        CommitCase{"0145", "", "", CommitKind::Refuse, "0145.0000"},
        CommitCase{"0145.0000", "0145.0000", "", CommitKind::Refuse, "0145.0000"}));

TEST(CommitDecision, UsesTheLimitsItIsGiven)
{
    EXPECT_EQ(decideFrequencyCommit("145", "", "", 400, 490).kind, CommitKind::Refuse);
    EXPECT_EQ(decideFrequencyCommit("445", "", "", 400, 490).kind, CommitKind::WriteWithDefaults);
    EXPECT_EQ(decideFrequencyCommit("520", "", "", 440, 520).kind, CommitKind::WriteWithDefaults);
}

TEST(RangeMessage, NamesTheColumnAndTheLimits)
{
    EXPECT_EQ(rangeMessage(1, 136, 174), "RX Frequency in 136MHZ~174MHZ");
    EXPECT_EQ(rangeMessage(2, 400, 490), "TX Frequency in 400MHZ~490MHZ");
}

} // namespace
} // namespace zk::edit
