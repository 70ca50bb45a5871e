#pragma once

#include <chrono>
#include <string>

#include <gio/gio.h>

namespace quillora {

// The whole internet check, name lookup included, ends within this time.
constexpr std::chrono::seconds InternetCheckLimit{5};

// The address the internet requirement probes: QUILLORA_PROBE_URL from the environment when
// set (tests point it at a loopback server), otherwise the build's default.
std::string ProbeAddress();

enum class ConnectionOutcome {
    Connected,    // a TCP connection was made (and closed again)
    Unreachable,  // refused, unresolvable, unreachable, or not done within the limit
    Abandoned,    // `abandon` was cancelled before the check ended
};

// Tries a TCP connection to the address's host and port (80 when none is given). The caller's
// thread is never blocked in a system call: the lookup and the connection run asynchronously
// while this dispatches the default main context, so windows keep redrawing and answering. It
// returns when the connection is made or fails, when `limit` has passed, or when `abandon` is
// cancelled (for instance by a handler that runs meanwhile).
ConnectionOutcome AwaitConnection(const std::string& address, GCancellable* abandon,
                                  std::chrono::milliseconds limit = InternetCheckLimit);

}  // namespace quillora
