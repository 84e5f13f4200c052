#include "UserMessages.h"

#include <gtest/gtest.h>

using namespace zk;

TEST(UserMessages, ErrorTextGetsAFullStopOnlyAfterCharactersAboveIt)
{
    EXPECT_EQ(errorBoxText("List index out of bounds (16)"), "List index out of bounds (16)");
    EXPECT_EQ(errorBoxText("'' is not a valid floating point value"), "'' is not a valid floating point value.");
    EXPECT_EQ(errorBoxText("JPEG error #53"), "JPEG error #53.");
    EXPECT_EQ(errorBoxText("ends with a point."), "ends with a point.");
    EXPECT_EQ(errorBoxText("ends with a slash/"), "ends with a slash/.");
    EXPECT_EQ(errorBoxText(""), "");
}

TEST(UserMessages, TitleIsTheProgramNameWithTheRestInLowerCase)
{
    EXPECT_EQ(applicationTitle("/opt/zk/ZK-H41.exe"), "Zk-h41");
    EXPECT_EQ(applicationTitle("/usr/bin/zk-h41"), "zk-h41");
    EXPECT_EQ(applicationTitle("Program"), "Program");
}
