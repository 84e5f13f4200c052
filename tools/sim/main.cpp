// zk-h41-sim: a virtual ZK-H41 on a pseudo-terminal, for trying the
// programming tool without a radio. Prints the terminal's path and serves
// sessions until interrupted.
#include "Version.h"
#include "VirtualRadio.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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

void dump(const RadioMemory& memory)
{
    for (size_t row = 0; row < memory.size(); row += 16) {
        std::printf("%04zX ", row);
        for (size_t i = 0; i < 16; ++i)
            std::printf(" %02X", memory[row + i]);
        std::printf("\n");
    }
}

}  // namespace

int main(int argc, char** argv)
{
    VirtualRadioOptions options;
    RadioFaults faults;
    bool dumpAtExit = false;
    bool verbose = false;

    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= argc)
                return false;
            out = argv[++i];
            return true;
        };
        std::string v;
        bool ok = true;
        if (arg == "--help" || arg == "-h") {
            usage(stdout);
            return 0;
        } else if (arg == "--version") {
            std::fputs(zk::versionLine("zk-h41-sim").c_str(), stdout);
            return 0;
        } else if (arg == "--link") {
            ok = value(options.linkPath);
        } else if (arg == "--image") {
            ok = value(options.imagePath);
        } else if (arg == "--dump") {
            dumpAtExit = true;
        } else if (arg == "--no-pacing") {
            options.pacing = false;
        } else if (arg == "--verbose") {
            verbose = true;
        } else if (arg == "--baud") {
            int baud = 0;
            ok = value(v) && number(v, baud) && baud > 0;
            options.baud = static_cast<uint32_t>(baud);
        } else if (arg == "--silent-after") {
            ok = value(v) && number(v, faults.silentAfter);
        } else if (arg == "--extra-byte") {
            ok = value(v) && block(v, faults.extraByteBlock);
        } else if (arg == "--short-reply") {
            ok = value(v) && block(v, faults.missingByteBlock);
        } else if (arg == "--split") {
            ok = value(v) && blockWithTime(v, faults.splitBlock, faults.splitPauseMs);
        } else if (arg == "--delay") {
            ok = value(v) && blockWithTime(v, faults.delayBlock, faults.delayMs);
        } else if (arg == "--double-ack") {
            ok = value(v) && block(v, faults.doubleAckBlock);
        } else if (arg == "--echo") {
            faults.echo = true;
        } else if (arg == "--bad-digit") {
            ok = value(v) && number(v, faults.badDigitChannel) && faults.badDigitChannel >= 1 &&
                 faults.badDigitChannel <= 16;
        } else {
            ok = false;
        }
        if (!ok) {
            std::fprintf(stderr, "zk-h41-sim: bad or incomplete option: %s\n", arg.c_str());
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

    VirtualRadio radio(options);
    radio.setFaults(faults);
    if (verbose)
        radio.setTrace([](const std::string& line) { std::fprintf(stderr, "%s\n", line.c_str()); });
    try {
        radio.start();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "zk-h41-sim: %s\n", e.what());
        return 1;
    }
    std::printf("%s\n", radio.path().c_str());
    if (!options.linkPath.empty())
        std::printf("linked as %s\n", options.linkPath.c_str());
    std::fflush(stdout);

    int signal = 0;
    sigwait(&stopSignals, &signal);
    radio.stop();
    if (dumpAtExit)
        dump(radio.memory());
    return 0;
}
