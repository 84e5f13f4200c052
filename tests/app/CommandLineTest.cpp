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

TEST(CommandLine, HelpAndVersionAreRequestsBesideTheOptions)
{
    std::string error;
    auto help = parseCommandLine({"--port", "/tmp/radio", "--help"}, error);
    ASSERT_TRUE(help);
    EXPECT_TRUE(help->help);
    EXPECT_FALSE(help->version);
    auto version = parseCommandLine({"--version"}, error);
    ASSERT_TRUE(version);
    EXPECT_TRUE(version->version);
    EXPECT_TRUE(parseCommandLine({"-h"}, error)->help);

    const std::string text = zk::helpText("/home/op/.local/share/zk-h41/image/");
    EXPECT_EQ(text.rfind(zk::kUsage, 0), 0u);
    EXPECT_NE(text.find("\n  /home/op/.local/share/zk-h41/image/\n"), std::string::npos);
    EXPECT_EQ(zk::versionText().rfind("zk-h41 ", 0), 0u);
}

TEST(CommandLine, TakesATraceFile)
{
    std::string error;
    auto line = parseCommandLine({"--trace", "/tmp/trace.txt", "--port", "/tmp/radio"}, error);
    ASSERT_TRUE(line) << error;
    EXPECT_EQ(line->traceFile, "/tmp/trace.txt");
    EXPECT_TRUE(parseCommandLine({}, error)->traceFile.empty());
    EXPECT_FALSE(parseCommandLine({"--trace"}, error));
    EXPECT_EQ(error, "--trace needs a file name");
}

TEST(CommandLine, ValuesFollowAfterAnEqualsSignAsAfterASpace)
{
    std::string error;
    auto line = parseCommandLine({"--trace=/tmp/trace.txt", "plan.bc", "--port=/tmp/radio", "--port", "/dev/ttyUSB0"},
                                 error);
    ASSERT_TRUE(line) << error;
    EXPECT_EQ(line->traceFile, "/tmp/trace.txt");
    EXPECT_EQ(line->extraPorts, (std::vector<std::string>{"/tmp/radio", "/dev/ttyUSB0"}));
    EXPECT_EQ(line->planFile, "plan.bc");

    EXPECT_FALSE(parseCommandLine({"--trace="}, error));
    EXPECT_EQ(error, "--trace needs a file name");
    EXPECT_FALSE(parseCommandLine({"--port=", "plan.bc"}, error));
    EXPECT_EQ(error, "--port needs a device path");
}

TEST(CommandLine, NamesThatAreNotUtf8ComeThroughByteForByte)
{
    std::string error;
    auto line = parseCommandLine({"--port=/tmp/r\xE4" "dio", "--trace", "/tmp/\xFF.txt", "pl\xE9n.bc"}, error);
    ASSERT_TRUE(line) << error;
    EXPECT_EQ(line->extraPorts, (std::vector<std::string>{"/tmp/r\xE4" "dio"}));
    EXPECT_EQ(line->traceFile, "/tmp/\xFF.txt");
    EXPECT_EQ(line->planFile, "pl\xE9n.bc");
}

TEST(CommandLine, ALoneDashIsNoPlanButAfterTwoDashesANameMayStartWithOne)
{
    std::string error;
    EXPECT_FALSE(parseCommandLine({"-"}, error));
    EXPECT_EQ(error, "unknown argument '-'");
    EXPECT_FALSE(parseCommandLine({"--colour", "plan.bc"}, error));
    EXPECT_EQ(error, "unknown argument '--colour'");
    EXPECT_FALSE(parseCommandLine({"--help=yes"}, error));

    auto line = parseCommandLine({"--", "-odd.bc"}, error);
    ASSERT_TRUE(line) << error;
    EXPECT_EQ(line->planFile, "-odd.bc");
}
