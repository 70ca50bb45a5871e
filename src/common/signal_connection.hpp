#pragma once

#include <glib-object.h>

#include <type_traits>
#include <utility>

#include "common/event_boundary.hpp"
#include "common/gobject_ptr.hpp"

namespace quillora {

// One handler connected to a GObject signal, disconnected when this goes away, so that no C
// callback outlives the object whose pointer it carries as user data.
class SignalConnection {
public:
    SignalConnection() = default;

    template <typename Callback>
    SignalConnection(gpointer instance, const char* signal, Callback callback, gpointer data)
        : instance_(GObjectPtr<GObject>::Retain(G_OBJECT(instance)))
        , id_(g_signal_connect(instance, signal, G_CALLBACK(callback), data))
    {}

    // Takes over the handler `id` that is connected on `instance`.
    [[nodiscard]] static SignalConnection Adopt(gpointer instance, gulong id)
    {
        SignalConnection connection;
        connection.instance_ = GObjectPtr<GObject>::Retain(G_OBJECT(instance));
        connection.id_ = id;
        return connection;
    }

    SignalConnection(const SignalConnection&) = delete;
    SignalConnection& operator=(const SignalConnection&) = delete;
    SignalConnection(SignalConnection&& other) noexcept
        : instance_(std::move(other.instance_))
        , id_(std::exchange(other.id_, 0))
    {}
    SignalConnection& operator=(SignalConnection&& other) noexcept
    {
        if (this != &other) {
            Disconnect();
            instance_ = std::move(other.instance_);
            id_ = std::exchange(other.id_, 0);
        }
        return *this;
    }
    ~SignalConnection() { Disconnect(); }

    void Disconnect() noexcept
    {
        // Disposing an object (destroying a widget) already drops all of its handlers.
        if (id_ != 0 && instance_ && g_signal_handler_is_connected(instance_.get(), id_)) {
            g_signal_handler_disconnect(instance_.get(), id_);
        }
        id_ = 0;
        instance_.reset();
    }

    [[nodiscard]] bool Connected() const noexcept { return id_ != 0; }

private:
    GObjectPtr<GObject> instance_;
    gulong id_ = 0;
};

namespace signal_detail {

template <typename Signature, typename Callable>
struct Trampoline;

// The C handler of a signal whose handlers have the signature Return(Args...): it calls the
// callable it carries as user data at the event boundary, so no exception leaves it. A handler
// that ended with an exception returns Return's zero value (FALSE: "not handled").
template <typename Return, typename... Args, typename Callable>
struct Trampoline<Return(Args...), Callable> {
    static Return Call(Args... args, gpointer data)
    {
        auto& callable = *static_cast<Callable*>(data);
        if constexpr (std::is_void_v<Return>) {
            AtEventBoundary([&] { callable(args...); });
        } else {
            Return result{};
            AtEventBoundary([&] { result = callable(args...); });
            return result;
        }
    }

    static void Destroy(gpointer data, GClosure*) { delete static_cast<Callable*>(data); }
};

}  // namespace signal_detail

// Connects `callable` to `signal` of `instance`. `Signature` is the handler's C signature
// without its trailing user data, for example gboolean(GtkWidget*, GdkEventKey*). The callable
// is kept by the handler and deleted with it; the returned connection disconnects it.
template <typename Signature, typename Callable>
[[nodiscard]] SignalConnection Connect(gpointer instance, const char* signal, Callable callable, bool after = false)
{
    using Stored = std::decay_t<Callable>;
    using Handler = signal_detail::Trampoline<Signature, Stored>;
    const gulong id =
        g_signal_connect_data(instance, signal, G_CALLBACK(&Handler::Call), new Stored(std::move(callable)),
                              &Handler::Destroy, after ? G_CONNECT_AFTER : GConnectFlags{});
    return SignalConnection::Adopt(instance, id);
}

}  // namespace quillora
