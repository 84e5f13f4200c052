#include "RadioProtocol.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr char kHandshake[] = "PROGRAM";
constexpr size_t kHandshakeLength = sizeof kHandshake - 1;
constexpr uint16_t kFirstChannel = 0x0010;
constexpr size_t kChannelRecord = 16;

bool hits(int faultBlock, int block)
{
    return faultBlock == RadioFaults::kEveryBlock || (faultBlock >= 0 && faultBlock == block);
}

}  // namespace

std::vector<ReplyChunk> RadioProtocol::feed(uint8_t byte, zk::RadioImage& memory, const RadioFaults& faults,
                                            bool& memoryWritten)
{
    memoryWritten = false;
    switch (state_) {
    case State::Idle:
    case State::Session:
        // A handshake may begin anywhere outside a command.
        if (byte == static_cast<uint8_t>(kHandshake[handshakeMatched_])) {
            if (++handshakeMatched_ < kHandshakeLength)
                return {};
            handshakeMatched_ = 0;
            state_ = State::Session;
            commandInSession_ = 0;
            return {{0, {kAck}}};
        }
        handshakeMatched_ = byte == static_cast<uint8_t>(kHandshake[0]) ? 1 : 0;
        if (handshakeMatched_ > 0 || state_ == State::Idle)
            return {};
        if (byte == 'R' || byte == 'W') {
            command_.assign(1, byte);
            state_ = State::Header;
        } else if (byte == 'E') {
            state_ = State::Idle;
            ++sessionsEnded_;
        }
        return {};
    case State::Header:
        command_.push_back(byte);
        if (command_.size() < 4)
            return {};
        if (command_[0] == 'W' && command_[3] > 0) {
            dataExpected_ = command_[3];
            state_ = State::Data;
            return {};
        }
        return answer(memory, faults, memoryWritten);
    case State::Data:
        command_.push_back(byte);
        if (command_.size() < 4 + dataExpected_)
            return {};
        return answer(memory, faults, memoryWritten);
    }
    return {};
}

void RadioProtocol::dropPartialCommand()
{
    if (inCommand())
        state_ = State::Session;
    command_.clear();
}

std::vector<ReplyChunk> RadioProtocol::answer(zk::RadioImage& memory, const RadioFaults& faults,
                                              bool& memoryWritten)
{
    state_ = State::Session;
    const int block = commandInSession_++;
    if (faults.silentAfter >= 0 && block >= faults.silentAfter)
        return {};  // a radio that stopped answering does nothing at all

    const size_t address = size_t(command_[1]) << 8 | command_[2];
    const size_t length = command_[3];
    std::vector<uint8_t> reply;
    if (command_[0] == 'R') {
        // The 4 leading bytes are never looked at by the program; echo the command.
        reply.assign(command_.begin(), command_.begin() + 4);
        for (size_t i = 0; i < length; ++i)
            reply.push_back(address + i < memory.size() ? memory[address + i] : 0xFF);
        const int ch = faults.badDigitChannel;
        if (ch >= 1 && ch <= 16) {
            const size_t record = kFirstChannel + kChannelRecord * size_t(ch - 1);
            if (record >= address && record + 4 <= address + length) {
                uint8_t* rx = reply.data() + 4 + (record - address);
                if (std::all_of(rx, rx + 4, [](uint8_t b) { return b == 0xFF; })) {
                    const uint8_t sample[4] = {0x00, 0x25, 0x14, 0x46};  // 461.42500
                    std::memcpy(rx, sample, 4);
                }
                rx[3] = static_cast<uint8_t>((rx[3] & 0xF0) | 0x0A);
            }
        }
    } else {
        const bool refused = hits(faults.nakBlock, block);
        for (size_t i = 0; !refused && i < length && address + i < memory.size(); ++i)
            memory[address + i] = command_[4 + i];
        memoryWritten = !refused && length > 0;
        reply.push_back(refused ? kNak : kAck);
        if (hits(faults.doubleAckBlock, block))
            reply.push_back(kAck);
    }
    ++commandsServed_;

    if (hits(faults.extraByteBlock, block))
        reply.push_back(0xFF);
    if (hits(faults.missingByteBlock, block) && !reply.empty())
        reply.pop_back();

    std::vector<ReplyChunk> chunks;
    const int delay = hits(faults.delayBlock, block) ? faults.delayMs : 0;
    if (hits(faults.splitBlock, block) && reply.size() >= 2) {
        const auto half = reply.begin() + static_cast<std::ptrdiff_t>(reply.size() / 2);
        chunks.push_back({delay, std::vector<uint8_t>(reply.begin(), half)});
        chunks.push_back({faults.splitPauseMs, std::vector<uint8_t>(half, reply.end())});
    } else if (!reply.empty()) {
        chunks.push_back({delay, std::move(reply)});
    }
    return chunks;
}
