#include "TransferEngine.h"

#include "Codec.h"

namespace zk {

namespace {

constexpr std::size_t kAckLength = 2; // one byte of any value
constexpr std::size_t kReplyHeaderLength = 8;
constexpr int kRecordsPerBlock = 4;
constexpr int kSettingsBlock = 4;

} // namespace

// Only one transfer at a time: the waits handle clicks, so Read or Write
// can be pressed again while a transfer runs; such a press is ignored.
class TransferEngine::BusyGuard {
public:
    explicit BusyGuard(bool& busy) : busy_(busy) { busy_ = true; }
    ~BusyGuard() { busy_ = false; }
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;

private:
    bool& busy_;
};

TransferEngine::TransferEngine(RadioLink& link, ChannelTable& table) : link_(link), table_(table) {}

bool TransferEngine::runBetweenTransfers(const std::function<void()>& work)
{
    if (busy_)
        return false;
    BusyGuard guard(busy_);
    link_.resetAbort();
    work();
    return true;
}

std::string TransferEngine::blockCommand(std::string_view letter, int block, std::string_view length)
{
    return std::string(letter) + std::string(kBlockAddressTable.substr(static_cast<std::size_t>(4 * block), 4)) +
           std::string(length);
}

TransferResult TransferEngine::read(const ProgressFunction& progress)
{
    const auto decode = [this](int k, const std::string& reply) {
        // The reply's first 4 bytes are not examined; the records follow.
        const auto record = [&](int i) {
            return std::string_view(reply).substr(kReplyHeaderLength + kRecordHexLength * static_cast<std::size_t>(i),
                                                  kRecordHexLength);
        };
        if (k < kSettingsBlock) {
            for (int i = 0; i < kRecordsPerBlock; ++i)
                decodeChannelRecord(table_, record(i), kRecordsPerBlock * k + i + 1);
        } else {
            decodeSettingsRecord(table_, record(0));
        }
    };
    return run(nullptr, [&] { return readBlocks(progress, decode); });
}

TransferResult TransferEngine::readImage(RadioImage& image, const ProgressFunction& progress)
{
    image = blankImage();
    return run(nullptr, [&] {
        return readBlocks(progress, [&image](int k, const std::string& reply) { storeReadReply(image, k, reply); });
    });
}

// The frame both procedures share: one transfer at a time, the port-ready
// check, an optional check before anything is sent, and errors turned into
// a Stopped outcome that says whether bytes had gone out.
TransferResult TransferEngine::run(const std::function<void()>& beforeSending,
                                   const std::function<TransferResult()>& procedure)
{
    if (busy_)
        return {TransferOutcome::Busy, {}, false};
    BusyGuard guard(busy_);
    link_.resetAbort();
    if (!link_.portReady())
        return {TransferOutcome::PortNotReady, {}, false};
    try {
        if (beforeSending)
            beforeSending();
    } catch (const AppError& e) {
        return {TransferOutcome::Stopped, e.what(), false};
    }
    try {
        return procedure();
    } catch (const AppError& e) {
        return {TransferOutcome::Stopped, e.what(), true};
    }
}

TransferResult TransferEngine::readBlocks(const ProgressFunction& progress, const BlockReply& takeBlock)
{
    link_.handshake();
    for (int k = 0; k < kBlocks; ++k) {
        const bool answered = link_.blockExchange(blockCommand("52", k, "40"), kReadReplyLength);
        // A block answered in the wait that saw a stop still counts.
        if (answered) {
            if (progress)
                progress(k + 1);
            const std::string reply = link_.replyText();
            takeBlock(k, reply);
        }
        if (link_.aborted())
            return {TransferOutcome::Aborted, {}, true};
        if (!answered)
            return {TransferOutcome::Failed, {}, true};
        if (k == kSettingsBlock)
            link_.sendEndByte();
    }
    return {TransferOutcome::Succeeded, {}, true};
}

TransferResult TransferEngine::write(const ProgressFunction& progress)
{
    // A radio must never receive a record we cannot form: check them all
    // before the first byte goes out. A cell made unencodable during the
    // write (a file opened meanwhile) stops it at that block.
    const auto checkRecords = [this] {
        for (int row = 1; row <= kChannels; ++row)
            encodeChannelRecord(table_, row);
        encodeSettingsRecord(table_);
    };
    const auto records = [this](int k) {
        std::string data;
        if (k < kSettingsBlock) {
            for (int i = 0; i < kRecordsPerBlock; ++i)
                data += encodeChannelRecord(table_, kRecordsPerBlock * k + i + 1);
        } else {
            data = encodeSettingsRecord(table_);
        }
        return data;
    };
    return run(checkRecords, [&] { return writeBlocks(progress, records); });
}

TransferResult TransferEngine::writeImage(const RadioImage& image, const ProgressFunction& progress)
{
    return run(nullptr, [&] { return writeBlocks(progress, [&image](int k) { return blockWriteData(image, k); }); });
}

void TransferEngine::pause(int milliseconds)
{
    link_.wait(milliseconds);
}

TransferResult TransferEngine::writeBlocks(const ProgressFunction& progress, const BlockData& blockData)
{
    link_.handshake();
    for (int k = 0; k < kBlocks; ++k) {
        // Built now, so an edit made before this block still reaches the radio.
        const std::string command = blockCommand("57", k, k < kSettingsBlock ? "40" : "10") + blockData(k);
        const bool answered = link_.blockExchange(command, kAckLength);
        // The radio holds a block it acknowledged, also in the wait that saw a stop.
        if (answered && progress)
            progress(k + 1);
        if (link_.aborted())
            return {TransferOutcome::Aborted, {}, true};
        if (!answered)
            return {TransferOutcome::Failed, {}, true};
    }
    link_.sendEndByte();
    return {TransferOutcome::Succeeded, {}, true};
}

} // namespace zk
