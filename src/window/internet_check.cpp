#include "window/internet_check.hpp"

#include <cstdlib>

#include "common/gobject_ptr.hpp"
#include "common/main_loop_source.hpp"

namespace quillora {

std::string ProbeAddress()
{
    const char* override_address = std::getenv("QUILLORA_PROBE_URL");
    return override_address != nullptr && *override_address != '\0' ? override_address : QUILLORA_PROBE_URL;
}

ConnectionOutcome AwaitConnection(const std::string& address, GCancellable* abandon, std::chrono::milliseconds limit)
{
    // One cancellable ends the attempt, whichever comes first: the limit or the caller.
    const auto stop = GObjectPtr<GCancellable>::Adopt(g_cancellable_new());
    const gulong abandon_link = g_cancellable_connect(abandon, G_CALLBACK(+[](GCancellable*, gpointer stop_data) {
                                                          g_cancellable_cancel(static_cast<GCancellable*>(stop_data));
                                                      }),
                                                      stop.get(), nullptr);
    const MainLoopSource timer = AddTimeout(limit, [&stop] { g_cancellable_cancel(stop.get()); });

    struct Outcome {
        bool finished = false;
        bool connected = false;
    } outcome;
    const auto client = GObjectPtr<GSocketClient>::Adopt(g_socket_client_new());
    g_socket_client_connect_to_uri_async(
        client.get(), address.c_str(), 80, stop.get(),
        [](GObject* source, GAsyncResult* result, gpointer data) {
            auto& out = *static_cast<Outcome*>(data);
            // Refused, unreachable, unresolvable or cut short: all mean offline for the e-book.
            const auto connection = GObjectPtr<GSocketConnection>::Adopt(
                g_socket_client_connect_to_uri_finish(G_SOCKET_CLIENT(source), result, nullptr));
            if (connection) {
                g_io_stream_close(G_IO_STREAM(connection.get()), nullptr, nullptr);
                out.connected = true;
            }
            out.finished = true;
        },
        &outcome);
    // An asynchronous operation always reports back, promptly once cancelled; the locals the
    // callback uses stay alive until then.
    while (!outcome.finished) {
        g_main_context_iteration(nullptr, TRUE);
    }
    g_cancellable_disconnect(abandon, abandon_link);

    if (outcome.connected) return ConnectionOutcome::Connected;
    return g_cancellable_is_cancelled(abandon) ? ConnectionOutcome::Abandoned : ConnectionOutcome::Unreachable;
}

}  // namespace quillora
