// zk-h41-sim: a virtual ZK-H41 on a pseudo-terminal, for trying the
// programming tool without a radio. Prints the terminal's path and serves
// sessions until interrupted.
#include "RadioImage.h"
#include "Version.h"
#include "VirtualRadio.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <getopt.h>
#include <iostream>
#include <pthread.h>
#include <string>

namespace {

void usage(std::FILE* to)
{
    std::fputs(
        "Usage: zk-h41-sim [options]\n"
        "A virtual ZK-H41 radio on a pseudo-terminal. Prints the terminal's path;\n"
        "open that path as the serial port. Runs until Ctrl+C.\n"
        "\n"
        "  --link PATH         also make PATH a symbolic link to the terminal\n"
        "  --image FILE        memory image (512 bytes): loaded at start if present,\n"
        "                      saved after every write block\n"
        "  --dump              print the memory as hex when stopping\n"
        "  --baud N            pace bytes like a line at N baud (default 9600)\n"
        "  --no-pacing         answer at once, without line timing\n"
        "  --verbose           print each reply on standard error\n"
        "  --version           print the version and exit\n"
        "Faults (BLOCK counts the read/write commands of a session from 0, or 'all'):\n"
        "  --silent-after N    answer only N commands per session, then nothing\n"
        "  --extra-byte BLOCK  reply with one byte too many\n"
        "  --short-reply BLOCK reply with one byte too few\n"
        "  --split BLOCK[:MS]  reply in two pieces, MS ms apart (default 300)\n"
        "  --delay BLOCK[:MS]  reply only after MS ms (default 1500)\n"
        "  --double-ack BLOCK  acknowledge a write with two bytes\n"
        "  --nak BLOCK         refuse a write: answer 0x15 and keep the memory\n"
        "  --bad-digit CH      read replies show a non-decimal digit in channel CH's\n"
        "                      receive frequency (CH 1 to 16)\n"
        "  --echo              send every received byte back before answering, as a\n"
        "                      cable that echoes does\n",
        to);
}

bool number(const std::string& text, int& value)
{
    char* end = nullptr;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || v < 0 || v > 1000000)
        return false;
    value = static_cast<int>(v);
    return true;
}

bool block(const std::string& text, int& value)
{
    if (text == "all") {
        value = RadioFaults::kEveryBlock;
        return true;
    }
    return number(text, value);
}

// BLOCK or BLOCK:MS
bool blockWithTime(const std::string& text, int& value, int& ms)
{
    const auto colon = text.find(':');
    if (colon == std::string::npos)
        return block(text, value);
    return block(text.substr(0, colon), value) && number(text.substr(colon + 1), ms);
}

void dump(const zk::RadioImage& memory)
{
    for (size_t row = 0; row < memory.size(); row += 16) {
        std::printf("%04zX ", row);
        for (size_t i = 0; i < 16; ++i)
            std::printf(" %02X", memory[row + i]);
        std::printf("\n");
    }
}

// The options, each with the code getopt_long returns for it.
enum OptionCode : int {
    kLink = 256,
    kImage,
    kDump,
    kBaud,
    kNoPacing,
    kVerbose,
    kVersion,
    kSilentAfter,
    kExtraByte,
    kShortReply,
    kSplit,
    kDelay,
    kDoubleAck,
    kEcho,
    kBadDigit,
    kNak,
};

const option kOptions[] = {
    {"help", no_argument, nullptr, 'h'},
    {"version", no_argument, nullptr, kVersion},
    {"link", required_argument, nullptr, kLink},
    {"image", required_argument, nullptr, kImage},
    {"dump", no_argument, nullptr, kDump},
    {"baud", required_argument, nullptr, kBaud},
    {"no-pacing", no_argument, nullptr, kNoPacing},
    {"verbose", no_argument, nullptr, kVerbose},
    {"silent-after", required_argument, nullptr, kSilentAfter},
    {"extra-byte", required_argument, nullptr, kExtraByte},
    {"short-reply", required_argument, nullptr, kShortReply},
    {"split", required_argument, nullptr, kSplit},
    {"delay", required_argument, nullptr, kDelay},
    {"double-ack", required_argument, nullptr, kDoubleAck},
    {"echo", no_argument, nullptr, kEcho},
    {"bad-digit", required_argument, nullptr, kBadDigit},
    {"nak", required_argument, nullptr, kNak},
    {nullptr, 0, nullptr, 0},
};

// getopt_long takes "--verb" for "--verbose"; scripts written that way would
// break the day another option starts alike, so names are taken in full.
bool spelledOut(const char* arg, const char* name)
{
    const std::size_t length = std::strlen(name);
    return std::strncmp(arg, "--", 2) == 0 && std::strncmp(arg + 2, name, length) == 0 &&
           (arg[2 + length] == '\0' || arg[2 + length] == '=');
}

struct Settings {
    VirtualRadioOptions options;
    RadioFaults faults;
    bool dumpAtExit = false;
    bool verbose = false;
};

// Takes the value of one option into the settings; false when it is not one
// the option accepts.
bool take(int code, const std::string& value, Settings& s)
{
    switch (code) {
    case kLink:
        s.options.linkPath = value;
        return true;
    case kImage:
        s.options.imagePath = value;
        return true;
    case kDump:
        s.dumpAtExit = true;
        return true;
    case kNoPacing:
        s.options.pacing = false;
        return true;
    case kVerbose:
        s.verbose = true;
        return true;
    case kBaud: {
        int baud = 0;
        if (!number(value, baud) || baud <= 0)
            return false;
        s.options.baud = static_cast<uint32_t>(baud);
        return true;
    }
    case kSilentAfter:
        return number(value, s.faults.silentAfter);
    case kExtraByte:
        return block(value, s.faults.extraByteBlock);
    case kShortReply:
        return block(value, s.faults.missingByteBlock);
    case kSplit:
        return blockWithTime(value, s.faults.splitBlock, s.faults.splitPauseMs);
    case kDelay:
        return blockWithTime(value, s.faults.delayBlock, s.faults.delayMs);
    case kDoubleAck:
        return block(value, s.faults.doubleAckBlock);
    case kNak:
        return block(value, s.faults.nakBlock);
    case kEcho:
        s.faults.echo = true;
        return true;
    case kBadDigit:
        return number(value, s.faults.badDigitChannel) && s.faults.badDigitChannel >= 1 &&
               s.faults.badDigitChannel <= 16;
    default:
        return false; // unknown, incomplete, or an operand (none is taken)
    }
}

}  // namespace

int main(int argc, char** argv)
{
    Settings settings;
    // '-' first: operands come back in their place (as code 1) to be refused
    // there; ':' reports a missing value quietly, as opterr = 0 does the rest.
    opterr = 0;
    for (;;) {
        const int at = optind;
        int index = -1;
        const int code = getopt_long(argc, argv, "-:h", kOptions, &index);
        if (code == -1)
            break;
        const bool known = index < 0 || spelledOut(argv[at], kOptions[index].name);
        if (known && code == 'h') {
            usage(stdout);
            return 0;
        }
        if (known && code == kVersion) {
            std::fputs(zk::versionLine("zk-h41-sim").c_str(), stdout);
            return 0;
        }
        if (!known || !take(code, optarg ? optarg : "", settings)) {
            std::fprintf(stderr, "zk-h41-sim: bad or incomplete option: %s\n", argv[at]);
            usage(stderr);
            return 2;
        }
    }
    // Signals are taken by sigwait below; the radio's thread must not get them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    VirtualRadio radio(settings.options);
    radio.setFaults(settings.faults);
    if (settings.verbose)
        radio.setTrace([](const std::string& line) { std::fprintf(stderr, "%s\n", line.c_str()); });
    try {
        radio.start();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "zk-h41-sim: %s\n", e.what());
        return 1;
    }
    std::printf("%s\n", radio.path().c_str());
    if (!settings.options.linkPath.empty())
        std::printf("linked as %s\n", settings.options.linkPath.c_str());
    std::fflush(stdout);

    int signal = 0;
    sigwait(&stopSignals, &signal);
    radio.stop();
    if (settings.dumpAtExit)
        dump(radio.memory());
    return 0;
}
