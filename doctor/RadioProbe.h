// The probe: the handshake and the first read command on an open port, and
// what came back: the radio answered, stayed silent, answered in part, or
// the cable echoed what was sent.
#pragma once

#include "ConnectionCheck.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zk {

class RadioLink;

enum class ProbeVerdict { Answered, Silent, Partial, Echo };

struct ProbeResult {
    ProbeVerdict verdict = ProbeVerdict::Silent;
    std::size_t handshakeBytes = 0; // received while the handshake waited
    std::size_t replyBytes = 0;     // received for the read command
};

// Bytes received after the handshake and after the first read command.
ProbeVerdict classifyProbe(const std::vector<std::uint8_t>& afterHandshake,
                           const std::vector<std::uint8_t>& afterCommand);

// Runs the probe over the link (whose port is open) and, when the radio
// answered, ends its session with the end byte.
ProbeResult probeRadio(RadioLink& link);

// The probe's line in the report; everything but an answer fails.
void reportProbe(const std::string& port, const ProbeResult& result, CheckReport& report);

} // namespace zk
