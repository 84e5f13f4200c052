#pragma once
// What the tests of the command-line tool share: running the built program,
// a plan with something in it, and the shape of a usage failure.
#include "ChannelTable.h"
#include "RunProgram.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace zk::test {

inline const std::string kEmptyRecord(32, 'F');
inline const std::string kFirstItemsSettings = "0000FFFFFF00FFFFFFFF0001FFFFFFFF";

inline std::string linesOf(const std::vector<std::string>& lines, const std::string& lineEnd = "\n")
{
    std::string text;
    for (const auto& line : lines)
        text += line + lineEnd;
    return text;
}

// A new plan's 17 records: 16 empty channels, then the first item of each setting.
inline std::vector<std::string> newPlanRecords()
{
    std::vector<std::string> records(16, kEmptyRecord);
    records.push_back(kFirstItemsSettings);
    return records;
}

inline ProgramResult cli(const std::vector<std::string>& args, const std::string& input = std::string())
{
    return zk::test::runProgram(ZK_CLI_PROGRAM, args, input);
}

// The same, calling started with the program's process id once it runs
// (to interrupt it, or to watch it).
inline ProgramResult cli(const std::vector<std::string>& args, const std::function<void(pid_t)>& started)
{
    return zk::test::runProgram(ZK_CLI_PROGRAM, args, std::string(), started);
}

inline bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

inline ChannelTable samplePlan()
{
    ChannelTable t;
    const std::vector<std::string> row2{"145.50000", "145.50000", "D023N", "0FF", "High", "Wide"};
    const std::vector<std::string> row15{"461.42500", "146.25000", "67.0HZ", "D754I", "Low", "Narrow"};
    for (int c = 1; c < kColumns; ++c) {
        t.setCell(c, 2, row2[static_cast<std::size_t>(c - 1)]);
        t.setCell(c, 15, row15[static_cast<std::size_t>(c - 1)]);
    }
    t.setSetting(0, 2);
    t.setSetting(1, 40);
    t.setSetting(2, 9);
    t.setSetting(3, 1);
    t.setSetting(4, 8);
    return t;
}

// Exit status 2, nothing on standard output, the message and then the
// command's usage on standard error.
inline void expectUsageFailure(const ProgramResult& r, const std::string& message)
{
    EXPECT_EQ(r.exitStatus, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.rfind("zk-h41-cli: " + message + "\n\nUsage: zk-h41-cli ", 0), 0u) << r.err;
}

} // namespace zk::test
