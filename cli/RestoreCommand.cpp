// restore --port PATH FILE.img: a raw image back into the radio.
#include "Commands.h"
#include "ImageFile.h"
#include "RadioRun.h"
#include "TraceFile.h"
#include "TransferOptions.h"

#include <iostream>

namespace zk::cli {

namespace {

constexpr const char* kUsage =
    "Usage: zk-h41-cli restore --port PATH FILE.img [--settle MS] [--trace FILE]\n"
    "\n"
    "Writes a radio image made by 'backup' into the radio on the serial port\n"
    "PATH, as write does, but with the image's bytes exactly as stored: the 64\n"
    "bytes of each channel block and the 16 settings bytes, so nothing the\n"
    "channel table does not show is lost. A file that is not a 512-byte image\n"
    "is refused before anything is sent.\n"
    "\n"
    "After \"Write Success!\" the radio is read again and compared with the\n"
    "image: \"Radio matches FILE.img\" and exit status 0, or one line per\n"
    "differing channel or the settings, \"Radio differs from FILE.img\" on\n"
    "standard error and exit status 1. Progress lines name their step\n"
    "(\"restore: block N/5\", \"verify: block N/5\"); a read-back that fails says\n"
    "\"Check after writing failed: Read Error!\". Between the two steps the\n"
    "radio is given --settle MS milliseconds after the end byte (500 unless\n"
    "given).\n"
    "\n"
    "--trace FILE writes every byte sent and received into FILE (not FILE.img).\n";

int runRestore(const Arguments& args)
{
    const TransferArguments parsed = parseTransferArguments(args, {.severalSteps = true});
    const std::string& file = singleOperand(parsed.operands, "image file");
    const TraceFileCheck traceCheck(parsed.traceFile, {file});
    const RadioImage image = readImageFile(file);
    ChannelTable unused;
    std::vector<std::string> differences;
    TransferStep write = restoreStep(image);
    write.afterwards = [] { std::cout << kWriteSuccess << '\n'; };
    if (!runOnRadio(parsed.singlePort(), unused, {write, verifyImageStep(image, differences)},
                    {parsed.traceFile, parsed.settleMs}))
        return kExitError;
    return printComparison(differences, file) ? kExitSuccess : kExitError;
}

} // namespace

const Command kRestoreCommand{"restore", kUsage, runRestore};

} // namespace zk::cli
