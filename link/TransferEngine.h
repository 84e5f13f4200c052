#pragma once
// The read and write procedures: five block exchanges between the channel
// table and the radio, reporting progress and outcome to whoever drives
// them (the dialogs or the command-line tool). Knows nothing of windows.
#include "ChannelTable.h"
#include "RadioImage.h"
#include "RadioLink.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace zk {

enum class TransferOutcome {
    Succeeded,    // every block answered
    Failed,       // a block got no reply of the right length in time
    PortNotReady, // nothing was sent
    Stopped,      // an error (in `error`) stopped the procedure
    Busy,         // another transfer is running; this one did not start
    Aborted,      // the program is quitting
};

struct TransferResult {
    TransferOutcome outcome = TransferOutcome::Failed;
    std::string error;         // for Stopped: the error box text
    bool sentAnything = false; // whether any byte went to the port
};

// The texts the user is shown for each outcome.
inline constexpr const char* kReadSuccess = "Read Success!";
inline constexpr const char* kReadError = "Read Error!";
inline constexpr const char* kReadPortNotReady = "The Port is Used!";
inline constexpr const char* kWriteSuccess = "Write Success!";
inline constexpr const char* kWriteError = "Write Error!";
inline constexpr const char* kWritePortNotReady = "The Port is used!";

class TransferEngine {
public:
    // Hex digits in the reply to a block read: 68 bytes, 4 not examined, 64 of memory.
    static constexpr std::size_t kReadReplyLength = 136;

    // Command letter, the block's address, then the length in bytes.
    static std::string blockCommand(std::string_view letter, int block, std::string_view length);

    // Blocks done so far, 1..5, after each successful block.
    using ProgressFunction = std::function<void(int blocksDone)>;

    TransferEngine(RadioLink& link, ChannelTable& table);

    // Copies the radio's channels and settings into the table. Rows of the
    // blocks received stay even when a later block fails.
    TransferResult read(const ProgressFunction& progress);
    // Copies the table into the radio. Every record is encoded before the
    // first byte is sent; each block is then built as it is sent.
    TransferResult write(const ProgressFunction& progress);

    // The read procedure into an image instead of the table, which stays
    // untouched: each block's 64 memory bytes at its address. The image is
    // complete only when the outcome is Succeeded.
    TransferResult readImage(RadioImage& image, const ProgressFunction& progress);
    // The write procedure with the image's bytes as stored: 64 bytes at
    // each channel block's address, the 16 settings bytes at the last.
    TransferResult writeImage(const RadioImage& image, const ProgressFunction& progress);

    bool busy() const { return busy_; }
    // Runs work on the link between transfers, counting as one itself so
    // that none starts meanwhile; false, running nothing, while one runs.
    bool runBetweenTransfers(const std::function<void()>& work);

    // Lets time pass on the link (events handled meanwhile), between two
    // procedures on one port.
    void pause(int milliseconds);

    // What may explain a failed transfer (other programs holding the port),
    // from whoever owns the port; empty when nothing does.
    std::function<std::string()> explainFailure;
    std::string failureDetail() const { return explainFailure ? explainFailure() : std::string(); }

private:
    class BusyGuard;
    TransferResult run(const std::function<void()>& beforeSending, const std::function<TransferResult()>& procedure);
    // Each complete reply's hex text goes to takeBlock(k, reply).
    using BlockReply = std::function<void(int block, const std::string& reply)>;
    TransferResult readBlocks(const ProgressFunction& progress, const BlockReply& takeBlock);
    // blockData(k) is the hex text block k carries, formed as it is sent.
    using BlockData = std::function<std::string(int block)>;
    TransferResult writeBlocks(const ProgressFunction& progress, const BlockData& blockData);

    RadioLink& link_;
    ChannelTable& table_;
    bool busy_ = false;
};

} // namespace zk
