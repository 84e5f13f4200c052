#include "ChannelFile.h"

#include <gtest/gtest.h>

using namespace zk;
using Items = std::vector<std::string>;

TEST(ItemSplitter, RunsOfSeparatorsCountAsOneAndEmptyItemsVanish)
{
    EXPECT_EQ(splitItems("a,,b,", ",", ","), (Items{"a", "b"}));
    EXPECT_EQ(splitItems(",,,", ",", ","), Items{});
    EXPECT_EQ(splitItems("", ",", ","), Items{});
    EXPECT_EQ(splitItems("1, , ,", ",", ","), (Items{"1", " ", " "}));
}

TEST(ItemSplitter, LineEndsEndItemsAndAreSkippedAtTheStart)
{
    EXPECT_EQ(splitItems("a\r\nb\rc\nd", ",", ","), (Items{"a", "b", "c", "d"}));
    EXPECT_EQ(splitItems("\r\n\r\nx", "\r", "~"), Items{"x"});
}

TEST(ItemSplitter, SkipCharactersGoOnlyAtTheStartOfAnItem)
{
    EXPECT_EQ(splitItems("~~a~b\r\n~\r\n~c", "\r", "~"), (Items{"a~b", "c"}));
    // A separator outside the skip set still ends an (empty, dropped) item.
    EXPECT_EQ(splitItems(";a;;b", ";", ""), (Items{"a", "b"}));
}

TEST(ItemSplitter, QuotesHoldSeparatorsAndLineEndsAndStayInTheItem)
{
    EXPECT_EQ(splitItems("\"a,b\",c", ",", ","), (Items{"\"a,b\"", "c"}));
    EXPECT_EQ(splitItems("x'a\r\nb'y,z", ",", ","), (Items{"x'a\r\nb'y", "z"}));
    // The other quote character does not close the stretch.
    EXPECT_EQ(splitItems("'a\",b',c", ",", ","), (Items{"'a\",b'", "c"}));
    // An unclosed quote runs to the end of the text.
    EXPECT_EQ(splitItems("a,\"b,c\r\nd", ",", ","), (Items{"a", "\"b,c\r\nd"}));
    EXPECT_EQ(splitItems("\"", ",", ","), Items{"\""});
}
