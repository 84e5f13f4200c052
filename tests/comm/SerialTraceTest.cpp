// The serial trace on a real pseudo-terminal: what the component sends and
// receives and its open, hang-up and close events, line by line in the file
// while the port is still in use.
#include "CommEventLog.h"
#include "PtyPair.h"
#include "SerialTrace.h"
#include "TComm.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <fstream>
#include <regex>
#include <sstream>

namespace {

struct TraceLine {
    long long ms = 0;
    std::string kind;
    std::string rest;
};

std::vector<TraceLine> readTrace(const std::string& file)
{
    std::vector<TraceLine> lines;
    std::ifstream in(file);
    const std::regex shape(R"(^ *(\d+) ms  (\S+) *(.*)$)");
    for (std::string line; std::getline(in, line);) {
        std::smatch m;
        EXPECT_TRUE(std::regex_match(line, m, shape)) << line;
        if (!m.empty())
            lines.push_back({std::stoll(m[1]), m[2], m[3]});
    }
    return lines;
}

// The hex digits of every line of one direction, joined.
std::string hexOf(const std::vector<TraceLine>& lines, const std::string& kind)
{
    std::string hex;
    for (const TraceLine& line : lines)
        if (line.kind == kind)
            hex += line.rest.substr(0, SerialTrace::kBytesPerLine * 3);
    hex.erase(std::remove(hex.begin(), hex.end(), ' '), hex.end());
    return hex;
}

} // namespace

TEST(SerialTrace, ABytesLineShowsHexPaddedThenPrintableText)
{
    const uint8_t bytes[] = {0x50, 0x0A, 0xFF, 0x7E};
    EXPECT_EQ(SerialTrace::byteLine(bytes, 4), "50 0A FF 7E " + std::string(36, ' ') + " P..~");
}

TEST(SerialTrace, FollowsOpenBytesHangupAndCloseAsTheyHappen)
{
    QTemporaryDir dir;
    const std::string file = dir.filePath("trace.txt").toStdString();
    SerialTrace trace(file);
    ASSERT_TRUE(trace.ok());
    PtyPair pty;
    TComm comm;
    CommEventLog log{comm};
    comm.SetTap(&trace);
    comm.SetCommName(pty.path());
    comm.OpenPort();
    // In the file already, not only when the trace is closed.
    auto lines = readTrace(file);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].kind, "open");
    EXPECT_EQ(lines[0].rest, pty.path());

    comm.SendData("PROGRAM", 7);
    EXPECT_EQ(pty.read(7), (std::vector<uint8_t>{'P', 'R', 'O', 'G', 'R', 'A', 'M'}));
    std::vector<uint8_t> reply(20);
    for (size_t i = 0; i < reply.size(); ++i)
        reply[i] = static_cast<uint8_t>(0x41 + i);
    pty.write(reply);
    ASSERT_TRUE(waitUntil([&] { return log.received().size() == reply.size(); }));
    pty.closeMaster();
    ASSERT_TRUE(waitUntil([&] { return log.count('H') == 1; }));
    comm.ClosePort();

    lines = readTrace(file);
    ASSERT_GE(lines.size(), 6u);
    EXPECT_EQ(lines[1].kind, "sent");
    EXPECT_EQ(lines[1].rest, SerialTrace::byteLine(reinterpret_cast<const uint8_t*>("PROGRAM"), 7));
    EXPECT_EQ(hexOf(lines, "recv"), "4142434445464748494A4B4C4D4E4F5051525354");
    EXPECT_EQ(lines[lines.size() - 2].kind, "hangup");
    EXPECT_EQ(lines.back().kind, "close");
    for (size_t i = 1; i < lines.size(); ++i)
        EXPECT_LE(lines[i - 1].ms, lines[i].ms) << "time runs forward";

    // A failed open is traced too, with the reason.
    comm.SetCommName(dir.filePath("ttyNONE").toStdString());
    EXPECT_THROW(comm.OpenPort(), ECommsError);
    EXPECT_EQ(readTrace(file).back().rest,
              dir.filePath("ttyNONE").toStdString() + " failed: Error opening serial port (No such file or directory)");
}
