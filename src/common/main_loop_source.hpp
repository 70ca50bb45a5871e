#pragma once

#include <glib.h>

#include <chrono>
#include <type_traits>
#include <utility>

#include "common/event_boundary.hpp"

namespace quillora {

// A timeout or idle callback attached to the default main context, removed when this goes
// away, so that no callback runs after the object whose pointer it carries.
class MainLoopSource {
public:
    MainLoopSource() = default;
    explicit MainLoopSource(GSource* source) : source_(source) {}

    MainLoopSource(const MainLoopSource&) = delete;
    MainLoopSource& operator=(const MainLoopSource&) = delete;
    MainLoopSource(MainLoopSource&& other) noexcept : source_(std::exchange(other.source_, nullptr)) {}
    MainLoopSource& operator=(MainLoopSource&& other) noexcept
    {
        if (this != &other) {
            Remove();
            source_ = std::exchange(other.source_, nullptr);
        }
        return *this;
    }
    ~MainLoopSource() { Remove(); }

    // Whether the callback may still run: false once it returned false or was removed.
    [[nodiscard]] bool Pending() const noexcept { return source_ != nullptr && !g_source_is_destroyed(source_); }

    void Remove() noexcept
    {
        if (GSource* source = std::exchange(source_, nullptr)) {
            g_source_destroy(source);  // harmless when the source already ended
            g_source_unref(source);
        }
    }

private:
    GSource* source_ = nullptr;
};

namespace source_detail {

// `callable` returns true to run again; a void callable runs once.
template <typename Callable>
MainLoopSource Attach(GSource* source, Callable callable)
{
    using Stored = std::decay_t<Callable>;
    g_source_set_callback(
        source,
        [](gpointer data) -> gboolean {
            auto& stored = *static_cast<Stored*>(data);
            bool again = false;
            if constexpr (std::is_void_v<std::invoke_result_t<Stored&>>) {
                AtEventBoundary([&] { stored(); });
            } else {
                AtEventBoundary([&] { again = stored(); });
            }
            return again ? G_SOURCE_CONTINUE : G_SOURCE_REMOVE;
        },
        new Stored(std::move(callable)), [](gpointer data) { delete static_cast<Stored*>(data); });
    g_source_attach(source, nullptr);
    return MainLoopSource(source);
}

}  // namespace source_detail

// Runs `callable` every `interval` while it returns true (once for a void callable).
template <typename Callable>
[[nodiscard]] MainLoopSource AddTimeout(std::chrono::milliseconds interval, Callable callable)
{
    return source_detail::Attach(g_timeout_source_new(static_cast<guint>(interval.count())), std::move(callable));
}

// Runs `callable` when the main loop has nothing else to do, again while it returns true.
template <typename Callable>
[[nodiscard]] MainLoopSource AddIdle(Callable callable, int priority = G_PRIORITY_DEFAULT_IDLE)
{
    GSource* source = g_idle_source_new();
    g_source_set_priority(source, priority);
    return source_detail::Attach(source, std::move(callable));
}

}  // namespace quillora
