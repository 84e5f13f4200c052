#include "Trimmed.h"

#include <gtest/gtest.h>

using namespace zk;

TEST(Trimmed, AValueLosesItsBlanksButKeepsItsLineEnds)
{
    EXPECT_EQ(trimmed(" \t145.50000 \t", kBlanks), "145.50000");
    EXPECT_EQ(trimmed("  High", kBlanks), "High");
    EXPECT_EQ(trimmed("\r\n145.50000\r\n", kBlanks), "\r\n145.50000\r\n");
    EXPECT_EQ(trimmed(" 67.0 HZ ", kBlanks), "67.0 HZ");
    EXPECT_EQ(trimmed(" \t ", kBlanks), "");
    EXPECT_EQ(trimmed("", kBlanks), "");
}

TEST(Trimmed, ASystemFileLosesItsLineEndToo)
{
    EXPECT_EQ(trimmed("ModemManager\n", kBlanksAndLineEnds), "ModemManager");
    EXPECT_EQ(trimmed("\r\n USB Serial \r\n", kBlanksAndLineEnds), "USB Serial");
    EXPECT_EQ(trimmed("\n", kBlanksAndLineEnds), "");
}
