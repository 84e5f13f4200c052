#include "CommandLine.h"

#include <gtest/gtest.h>

using zk::parseCommandLine;

TEST(CommandLine, TakesNothingOrRepeatedPortPaths)
{
    std::string error;
    auto none = parseCommandLine({}, error);
    ASSERT_TRUE(none);
    EXPECT_TRUE(none->extraPorts.empty());

    auto ports = parseCommandLine({"--port", "/tmp/radio", "--port=/dev/ttyUSB3"}, error);
    ASSERT_TRUE(ports);
    EXPECT_EQ(ports->extraPorts, (std::vector<std::string>{"/tmp/radio", "/dev/ttyUSB3"}));
    EXPECT_TRUE(ports->planFile.empty());

    auto plan = parseCommandLine({"--port", "/tmp/radio", "/home/me/plans/site 1.bc"}, error);
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->planFile, "/home/me/plans/site 1.bc");
}

TEST(CommandLine, RefusesAnythingElseWithTheReason)
{
    std::string error;
    EXPECT_FALSE(parseCommandLine({"--port"}, error));
    EXPECT_EQ(error, "--port needs a device path");
    EXPECT_FALSE(parseCommandLine({"--port", ""}, error));
    EXPECT_FALSE(parseCommandLine({"--port="}, error));
    EXPECT_FALSE(parseCommandLine({"plan.bc", "other.bc"}, error));
    EXPECT_EQ(error, "unknown argument 'other.bc'");
    EXPECT_FALSE(parseCommandLine({"-x"}, error));
}
