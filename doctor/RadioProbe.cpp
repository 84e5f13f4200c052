#include "RadioProbe.h"

#include "HexText.h"
#include "RadioLink.h"
#include "TransferEngine.h"

#include <algorithm>

namespace zk {

namespace {

constexpr std::size_t kReadReplyBytes = TransferEngine::kReadReplyLength / 2;

} // namespace

ProbeVerdict classifyProbe(const std::vector<std::uint8_t>& afterHandshake,
                           const std::vector<std::uint8_t>& afterCommand)
{
    // A cable that echoes hands the handshake straight back; the radio
    // itself never answers with it.
    const std::vector<std::uint8_t> handshake = fromHexText(RadioLink::kHandshakeText);
    if (afterHandshake.size() >= handshake.size() &&
        std::equal(handshake.begin(), handshake.end(), afterHandshake.begin()))
        return ProbeVerdict::Echo;
    if (afterCommand.size() == kReadReplyBytes)
        return ProbeVerdict::Answered;
    if (afterHandshake.empty() && afterCommand.empty())
        return ProbeVerdict::Silent;
    return ProbeVerdict::Partial;
}

ProbeResult probeRadio(RadioLink& link)
{
    link.clearReplyText();
    link.sendHexText(RadioLink::kHandshakeText);
    link.wait(RadioLink::kHandshakeWaitMs);
    const std::vector<std::uint8_t> afterHandshake = fromHexText(link.replyText());
    link.blockExchange(TransferEngine::blockCommand("52", 0, "40"), TransferEngine::kReadReplyLength);
    const std::vector<std::uint8_t> afterCommand = fromHexText(link.replyText());

    ProbeResult result{classifyProbe(afterHandshake, afterCommand), afterHandshake.size(), afterCommand.size()};
    if (result.verdict == ProbeVerdict::Answered)
        link.sendEndByte();
    return result;
}

void reportProbe(const std::string& port, const ProbeResult& result, CheckReport& report)
{
    switch (result.verdict) {
    case ProbeVerdict::Answered:
        report.add(CheckLevel::Ok, "the radio on " + port + " answered the handshake and the first read command");
        break;
    case ProbeVerdict::Silent:
        report.add(CheckLevel::Fail, "the radio on " + port + " stayed silent",
                   "switch the radio on, check that the cable sits firmly in it, and that this is the cable's port");
        break;
    case ProbeVerdict::Partial:
        report.add(CheckLevel::Fail,
                   "the radio on " + port + " answered in part: " + std::to_string(result.handshakeBytes) +
                       (result.handshakeBytes == 1 ? " byte" : " bytes") + " to the handshake, " +
                       std::to_string(result.replyBytes) + " of " +
                       std::to_string(kReadReplyBytes) + " to the read command",
                   "check the plugs of the cable, and that no other program reads the port");
        break;
    case ProbeVerdict::Echo:
        report.add(CheckLevel::Fail, "the cable on " + port + " echoes every byte sent, so no transfer can succeed",
                   "use a programming cable without echo for this radio");
        break;
    }
}

} // namespace zk
