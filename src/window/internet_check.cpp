#include "window/internet_check.hpp"

#include <cstdlib>

#include <giomm/socketclient.h>
#include <glibmm/error.h>

namespace quillora {

namespace {
constexpr unsigned ProbeTimeoutSeconds = 5;
}

std::string ProbeAddress()
{
    const char* override_address = std::getenv("QUILLORA_PROBE_URL");
    return override_address != nullptr && *override_address != '\0' ? override_address
                                                                     : QUILLORA_PROBE_URL;
}

bool CanConnectTo(const std::string& address)
{
    try {
        const auto client = Gio::SocketClient::create();
        client->set_timeout(ProbeTimeoutSeconds);
        const auto connection = client->connect_to_uri(address, 80);
        connection->close();
        return true;
    } catch (const Glib::Error&) {
        // Refused, unreachable, unresolvable or timed out: all mean offline for the e-book.
        return false;
    }
}

}  // namespace quillora
