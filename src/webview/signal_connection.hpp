#pragma once

#include <glib-object.h>

#include <utility>

#include "webview/gobject_ptr.hpp"

namespace quillora {

// One handler connected to a GObject signal, disconnected when this goes away, so that no C
// callback outlives the object whose pointer it carries as user data.
class SignalConnection {
public:
    SignalConnection() = default;

    template <typename Callback>
    SignalConnection(gpointer instance, const char* signal, Callback callback, gpointer data)
        : instance_(GObjectPtr<GObject>::Retain(G_OBJECT(instance))),
          id_(g_signal_connect(instance, signal, G_CALLBACK(callback), data))
    {
    }

    SignalConnection(const SignalConnection&) = delete;
    SignalConnection& operator=(const SignalConnection&) = delete;
    SignalConnection(SignalConnection&& other) noexcept
        : instance_(std::move(other.instance_)), id_(std::exchange(other.id_, 0))
    {
    }
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

private:
    GObjectPtr<GObject> instance_;
    gulong id_ = 0;
};

}  // namespace quillora
