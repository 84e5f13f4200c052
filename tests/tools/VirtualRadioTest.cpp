// The virtual radio over its pseudo-terminal, driven with plain POSIX I/O,
// and once through TComm as the programming tool will use it.
#include "CommEventLog.h"
#include "TComm.h"
#include "TempFolder.h"
#include "VirtualRadio.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <poll.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

using namespace std::chrono;

namespace {

using Bytes = std::vector<uint8_t>;

const Bytes kProgram = {'P', 'R', 'O', 'G', 'R', 'A', 'M'};

Bytes readCommand(uint16_t address, uint8_t length)
{
    return {'R', uint8_t(address >> 8), uint8_t(address & 0xFF), length};
}

Bytes writeCommand(uint16_t address, const Bytes& data)
{
    Bytes c(4 + data.size());
    c[0] = 'W';
    c[1] = uint8_t(address >> 8);
    c[2] = uint8_t(address & 0xFF);
    c[3] = uint8_t(data.size());
    std::copy(data.begin(), data.end(), c.begin() + 4);
    return c;
}

// The program's end of the line, opened by path like a serial port.
class RawPort {
public:
    explicit RawPort(const std::string& path)
    {
        fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (fd_ >= 0) {
            termios t{};
            ::tcgetattr(fd_, &t);
            ::cfmakeraw(&t);
            ::tcsetattr(fd_, TCSANOW, &t);
        }
    }
    ~RawPort()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    bool ok() const { return fd_ >= 0; }

    void send(const Bytes& bytes) const
    {
        ASSERT_EQ(::write(fd_, bytes.data(), bytes.size()), ssize_t(bytes.size()));
    }
    // Everything that comes until the line has been quiet for `quiet`, or
    // `count` bytes, at most `limit` in all.
    Bytes receive(size_t count, milliseconds quiet = milliseconds(400), milliseconds limit = seconds(5)) const
    {
        Bytes out;
        const auto end = steady_clock::now() + limit;
        while (out.size() < count && steady_clock::now() < end) {
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, static_cast<int>(quiet.count())) <= 0)
                break;
            uint8_t buf[256];
            const ssize_t n = ::read(fd_, buf, sizeof buf);
            if (n <= 0)
                break;
            out.insert(out.end(), buf, buf + n);
        }
        return out;
    }

private:
    int fd_ = -1;
};

VirtualRadio& started(VirtualRadio& radio)
{
    radio.start();
    return radio;
}

}  // namespace

TEST(VirtualRadio, ServesAWholeSessionAndKeepsItsImage)
{
    const auto dir = std::filesystem::temp_directory_path() / ("zk-sim-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    VirtualRadioOptions options;
    options.pacing = false;
    options.imagePath = (dir / "radio.img").string();
    options.linkPath = (dir / "ttyZK").string();
    VirtualRadio radio(options);
    radio.start();
    EXPECT_EQ(std::filesystem::read_symlink(options.linkPath).string(), radio.path());

    RawPort port(options.linkPath);
    ASSERT_TRUE(port.ok());
    port.send(kProgram);
    EXPECT_EQ(port.receive(2), Bytes{RadioProtocol::kAck});

    // A fresh radio reads all 0xFF, after an echo of the command.
    port.send(readCommand(0x0010, 0x40));
    Bytes reply = port.receive(69);
    ASSERT_EQ(reply.size(), 68u);
    EXPECT_EQ(Bytes(reply.begin(), reply.begin() + 4), readCommand(0x0010, 0x40));
    EXPECT_EQ(Bytes(reply.begin() + 4, reply.end()), Bytes(64, 0xFF));

    Bytes channels(64);
    for (size_t i = 0; i < channels.size(); ++i)
        channels[i] = uint8_t(i * 3);
    port.send(writeCommand(0x0050, channels));
    EXPECT_EQ(port.receive(2).size(), 1u);
    EXPECT_EQ(radio.readMemory(0x0050, 64), channels);

    const Bytes settings = {0, 0, 0xFF, 0xFF, 0xFF, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 1, 0xFF, 0xFF, 0xFF, 0xFF};
    port.send(writeCommand(0x012F, settings));
    EXPECT_EQ(port.receive(2).size(), 1u);

    port.send(readCommand(0x0050, 0x40));
    reply = port.receive(69);
    ASSERT_EQ(reply.size(), 68u);
    EXPECT_EQ(Bytes(reply.begin() + 4, reply.end()), channels);
    port.send({'E'});
    ASSERT_TRUE(QTest::qWaitFor([&] { return radio.sessionsEnded() == 1; }, 2000));
    EXPECT_EQ(radio.commandsServed(), 4);

    // The image on disk follows every write block.
    std::ifstream in(options.imagePath, std::ios::binary);
    Bytes image((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_EQ(image.size(), 512u);
    EXPECT_EQ(Bytes(image.begin() + 0x50, image.begin() + 0x90), channels);
    EXPECT_EQ(Bytes(image.begin() + 0x12F, image.begin() + 0x13F), settings);
    EXPECT_EQ(image[0x10], 0xFF);

    // The logs hold the wire: every byte each way.
    Bytes wire = kProgram;
    for (const Bytes& part : {readCommand(0x0010, 0x40), writeCommand(0x0050, channels),
                              writeCommand(0x012F, settings), readCommand(0x0050, 0x40), Bytes{'E'}})
        wire.insert(wire.end(), part.begin(), part.end());
    EXPECT_EQ(radio.received(), wire);
    EXPECT_EQ(radio.sent().size(), 1u + 68 + 1 + 1 + 68);

    // A second radio started on the same image begins where this one ended.
    radio.stop();
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(options.linkPath)));
    options.linkPath.clear();
    VirtualRadio again(options);
    again.start();
    EXPECT_EQ(again.readMemory(0x0050, 64), channels);
    again.stop();
    std::filesystem::remove_all(dir);
}

TEST(VirtualRadio, PacesRepliesLikeA9600BaudLine)
{
    VirtualRadio radio;
    started(radio);
    RawPort port(radio.path());
    port.send(kProgram);
    ASSERT_EQ(port.receive(1).size(), 1u);
    const auto sent = steady_clock::now();
    port.send(readCommand(0x0090, 0x40));
    const Bytes reply = port.receive(68);
    const auto took = duration_cast<milliseconds>(steady_clock::now() - sent);
    ASSERT_EQ(reply.size(), 68u);
    // 4 command bytes in, 68 reply bytes out at 10 bits per byte.
    EXPECT_GE(took.count(), 71) << "the reply cannot come faster than the line";
}

TEST(VirtualRadio, InjectsTheFaultsTheTransferMustSurvive)
{
    VirtualRadioOptions options;
    options.pacing = false;
    VirtualRadio radio(options);
    started(radio);
    RawPort port(radio.path());

    RadioFaults faults;
    faults.extraByteBlock = 0;
    faults.missingByteBlock = 1;
    faults.doubleAckBlock = 2;
    faults.badDigitChannel = 6;  // second record of the block at 0x0050
    faults.splitBlock = 4;
    faults.splitPauseMs = 600;
    radio.setFaults(faults);
    port.send(kProgram);
    ASSERT_EQ(port.receive(1).size(), 1u);

    port.send(readCommand(0x0010, 0x40));
    EXPECT_EQ(port.receive(100).size(), 69u);
    port.send(readCommand(0x0050, 0x40));
    Bytes reply = port.receive(100);
    EXPECT_EQ(reply.size(), 67u);
    // Channel 6's RX field (bytes 16..19 of the block) shows digit A.
    ASSERT_GE(reply.size(), 4u + 20);
    EXPECT_EQ(Bytes(reply.begin() + 4 + 16, reply.begin() + 4 + 20), (Bytes{0x00, 0x25, 0x14, 0x4A}));
    EXPECT_EQ(radio.readMemory(0x0060, 4), Bytes(4, 0xFF)) << "memory itself is not touched";

    port.send(writeCommand(0x0090, Bytes(64, 0x11)));
    EXPECT_EQ(port.receive(10), (Bytes{RadioProtocol::kAck, RadioProtocol::kAck}));

    port.send(readCommand(0x0090, 0x40));
    EXPECT_EQ(port.receive(100).size(), 68u) << "block 3 has no fault";

    // Block 4 comes in two pieces; a short quiet time sees only the first.
    port.send(readCommand(0x012F, 0x40));
    const Bytes first = port.receive(100, milliseconds(250));
    EXPECT_EQ(first.size(), 34u);
    const Bytes second = port.receive(100, milliseconds(2000));
    EXPECT_EQ(second.size(), 34u);

    // A new session without an end byte; the radio then stops answering.
    faults = RadioFaults{};
    faults.silentAfter = 1;
    faults.delayBlock = 0;
    faults.delayMs = 600;
    radio.setFaults(faults);
    port.send(kProgram);
    ASSERT_EQ(port.receive(1).size(), 1u);
    const auto sent = steady_clock::now();
    port.send(readCommand(0x0010, 0x40));
    EXPECT_EQ(port.receive(68, milliseconds(2000)).size(), 68u);
    EXPECT_GE(duration_cast<milliseconds>(steady_clock::now() - sent).count(), 600) << "delayed reply";
    port.send(readCommand(0x0050, 0x40));
    EXPECT_TRUE(port.receive(68, milliseconds(800)).empty()) << "silent after one command";
}

TEST(VirtualRadio, ARefusedWriteIsAnsweredWithANakAndLeavesTheMemory)
{
    VirtualRadioOptions options;
    options.pacing = false;
    VirtualRadio radio(options);
    started(radio);
    RawPort port(radio.path());
    RadioFaults faults;
    faults.nakBlock = 1;
    radio.setFaults(faults);
    port.send(kProgram);
    ASSERT_EQ(port.receive(1).size(), 1u);

    port.send(writeCommand(0x0010, Bytes(64, 0x11)));
    EXPECT_EQ(port.receive(1), Bytes{0x06});
    port.send(writeCommand(0x0050, Bytes(64, 0x22)));
    EXPECT_EQ(port.receive(1), Bytes{0x15});
    EXPECT_EQ(radio.readMemory(0x0010, 4), Bytes(4, 0x11));
    EXPECT_EQ(radio.readMemory(0x0050, 4), Bytes(4, 0xFF)) << "the refused block is not stored";
}

TEST(VirtualRadio, AnswersTComm)
{
    VirtualRadio radio;
    started(radio);
    TComm comm;
    CommEventLog log(comm);
    comm.SetCommName(radio.path());
    comm.OpenPort();
    comm.SetInx_XonXoffFlow(false);
    comm.SetOutx_XonXoffFlow(false);

    ASSERT_TRUE(comm.SendData(kProgram.data(), uint16_t(kProgram.size())));
    ASSERT_TRUE(waitUntil([&] { return log.received().size() == 1; }));
    const Bytes command = readCommand(0x0010, 0x40);
    ASSERT_TRUE(comm.SendData(command.data(), 4));
    ASSERT_TRUE(waitUntil([&] { return log.received().size() == 69; }));
    const Bytes got = log.received();
    EXPECT_EQ(Bytes(got.begin() + 1, got.begin() + 5), command);
    const uint8_t end = 'E';
    comm.SendData(&end, 1);
    ASSERT_TRUE(waitUntil([&] { return radio.sessionsEnded() == 1; }));
    Bytes wire = kProgram;
    wire.insert(wire.end(), command.begin(), command.end());
    wire.push_back('E');
    EXPECT_EQ(radio.received(), wire);
    comm.ClosePort();
}

TEST(VirtualRadio, AFullDiskLeavesTheOldImageAndAPipeIsNoImage)
{
    zk::test::TempFolder folder;
    VirtualRadioOptions options;
    options.pacing = false;
    options.imagePath = folder.file("radio.img");
    zk::test::writeBytes(options.imagePath, std::string(512, '\x11'));
    std::mutex lock;
    std::vector<std::string> traced;
    VirtualRadio radio(options);
    radio.setTrace([&](const std::string& line) {
        std::lock_guard guard(lock);
        traced.push_back(line);
    });
    radio.start();
    EXPECT_EQ(radio.readMemory(0x01FF, 1), Bytes{0x11}) << "the image was loaded";
    RawPort port(radio.path());
    ASSERT_TRUE(port.ok());
    port.send(kProgram);
    ASSERT_EQ(port.receive(1).size(), 1u);

    // A file size limit below the image's size stands in for a full disk.
    // The radio saves before it acknowledges, so the acknowledgement ends
    // the time the limit must hold.
    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 100;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    port.send(writeCommand(0x0010, Bytes(64, 0x22)));
    const Bytes ack = port.receive(1, milliseconds(2000));
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(ack, Bytes{RadioProtocol::kAck});
    EXPECT_TRUE(waitUntil([&] {
        std::lock_guard guard(lock);
        return std::any_of(traced.begin(), traced.end(),
                           [](const std::string& line) { return line.find("File too large") != std::string::npos; });
    }));
    radio.stop();
    EXPECT_EQ(radio.readMemory(0x0010, 1), Bytes{0x22});
    EXPECT_EQ(zk::test::readBytes(options.imagePath), std::string(512, '\x11'));

    const std::string pipe = folder.file("pipe.img");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    options.imagePath = pipe;
    VirtualRadio piped(options);
    std::string error;
    try {
        piped.start(); // refused without waiting for a writer
    } catch (const std::runtime_error& e) {
        error = e.what();
    }
    EXPECT_FALSE(piped.running());
    EXPECT_NE(error.find("It is a pipe, not a file"), std::string::npos) << error;
}
