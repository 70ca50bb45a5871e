#pragma once

#include <string>

namespace quillora {

// The address the internet requirement probes: QUILLORA_PROBE_URL from the environment when
// set (tests point it at a loopback server), otherwise the build's default.
std::string ProbeAddress();

// Whether a TCP connection to the address's host and port (80 when none is given) can be made
// within a few seconds. Blocks the caller, as the check does during start-up.
bool CanConnectTo(const std::string& address);

}  // namespace quillora
