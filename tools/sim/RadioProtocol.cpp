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

std::vector<ReplyChunk> RadioProtocol::feed(uint8_t byte, RadioMemory& memory, const RadioFaults& faults,
                                            bool& memoryWritten)
{
    memoryWritten = false;
    switch (m_state) {
    case State::Idle:
    case State::Session:
        // A handshake may begin anywhere outside a command.
        if (byte == static_cast<uint8_t>(kHandshake[m_handshakeMatched])) {
            if (++m_handshakeMatched < kHandshakeLength)
                return {};
            m_handshakeMatched = 0;
            m_state = State::Session;
            m_commandInSession = 0;
            return {{0, {kAck}}};
        }
        m_handshakeMatched = byte == static_cast<uint8_t>(kHandshake[0]) ? 1 : 0;
        if (m_handshakeMatched > 0 || m_state == State::Idle)
            return {};
        if (byte == 'R' || byte == 'W') {
            m_command.assign(1, byte);
            m_state = State::Header;
        } else if (byte == 'E') {
            m_state = State::Idle;
            ++m_sessionsEnded;
        }
        return {};
    case State::Header:
        m_command.push_back(byte);
        if (m_command.size() < 4)
            return {};
        if (m_command[0] == 'W' && m_command[3] > 0) {
            m_dataExpected = m_command[3];
            m_state = State::Data;
            return {};
        }
        return answer(memory, faults, memoryWritten);
    case State::Data:
        m_command.push_back(byte);
        if (m_command.size() < 4 + m_dataExpected)
            return {};
        return answer(memory, faults, memoryWritten);
    }
    return {};
}

void RadioProtocol::dropPartialCommand()
{
    if (inCommand())
        m_state = State::Session;
    m_command.clear();
}

std::vector<ReplyChunk> RadioProtocol::answer(RadioMemory& memory, const RadioFaults& faults,
                                              bool& memoryWritten)
{
    m_state = State::Session;
    const int block = m_commandInSession++;
    if (faults.silentAfter >= 0 && block >= faults.silentAfter)
        return {};  // a radio that stopped answering does nothing at all

    const size_t address = size_t(m_command[1]) << 8 | m_command[2];
    const size_t length = m_command[3];
    std::vector<uint8_t> reply;
    if (m_command[0] == 'R') {
        // The 4 leading bytes are never looked at by the program; echo the command.
        reply.assign(m_command.begin(), m_command.begin() + 4);
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
        for (size_t i = 0; i < length && address + i < memory.size(); ++i)
            memory[address + i] = m_command[4 + i];
        memoryWritten = length > 0;
        reply.push_back(kAck);
        if (hits(faults.doubleAckBlock, block))
            reply.push_back(kAck);
    }
    ++m_commandsServed;

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
