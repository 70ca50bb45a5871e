#include "window/internet_check.hpp"

#include <cstdlib>

#include <giomm/socketclient.h>
#include <glibmm/error.h>
#include <glibmm/main.h>

namespace quillora {

std::string ProbeAddress()
{
    const char* override_address = std::getenv("QUILLORA_PROBE_URL");
    return override_address != nullptr && *override_address != '\0' ? override_address
                                                                     : QUILLORA_PROBE_URL;
}

ConnectionOutcome AwaitConnection(const std::string& address,
                                  const Glib::RefPtr<Gio::Cancellable>& abandon,
                                  std::chrono::milliseconds limit)
{
    // One cancellable ends the attempt, whichever comes first: the limit or the caller.
    const auto stop = Gio::Cancellable::create();
    const gulong abandon_link = abandon->connect([&stop] { stop->cancel(); });
    sigc::connection timer = Glib::signal_timeout().connect(
        [&stop] {
            stop->cancel();
            return false;
        },
        static_cast<unsigned>(limit.count()));

    bool finished = false;
    bool connected = false;
    const auto client = Gio::SocketClient::create();
    client->connect_to_uri_async(
        address, 80, stop,
        [&](Glib::RefPtr<Gio::AsyncResult>& result) {
            try {
                client->connect_to_uri_finish(result)->close();
                connected = true;
            } catch (const Glib::Error&) {
                // Refused, unreachable, unresolvable or cut short: all mean offline for the e-book.
            }
            finished = true;
        });
    // An asynchronous operation always reports back, promptly once cancelled; the locals the
    // callback uses stay alive until then.
    const auto context = Glib::MainContext::get_default();
    while (!finished) {
        context->iteration(true);
    }
    timer.disconnect();
    abandon->disconnect(abandon_link);

    if (connected) return ConnectionOutcome::Connected;
    return abandon->is_cancelled() ? ConnectionOutcome::Abandoned : ConnectionOutcome::Unreachable;
}

}  // namespace quillora
