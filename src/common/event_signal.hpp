#pragma once

#include <algorithm>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace quillora {

// One handler connected to an EventSignal, disconnected when this goes away. The owner of the
// handler keeps it, so that no handler outlives the object it calls.
class EventConnection {
public:
    EventConnection() = default;
    explicit EventConnection(std::weak_ptr<bool> connected) : connected_(std::move(connected)) {}

    EventConnection(const EventConnection&) = delete;
    EventConnection& operator=(const EventConnection&) = delete;
    EventConnection(EventConnection&&) noexcept = default;
    EventConnection& operator=(EventConnection&& other) noexcept
    {
        if (this != &other) {
            Disconnect();
            connected_ = std::move(other.connected_);
        }
        return *this;
    }
    ~EventConnection() { Disconnect(); }

    void Disconnect() noexcept
    {
        if (const auto flag = connected_.lock()) {
            *flag = false;
        }
        connected_.reset();
    }

private:
    std::weak_ptr<bool> connected_;
};

// A list of handlers that one object calls to tell others that something happened. Handlers run
// in the order they were connected; one may connect or disconnect handlers, even itself, while
// it runs.
template <typename... Args>
class EventSignal {
public:
    using Handler = std::function<void(Args...)>;

    [[nodiscard]] EventConnection Connect(Handler handler)
    {
        auto slot = std::make_shared<Slot>(Slot{std::move(handler), std::make_shared<bool>(true)});
        slots_.push_back(slot);
        return EventConnection(slot->connected);
    }

    void Emit(Args... args) const
    {
        // A copy, so that handlers that change the list do not change this run.
        const std::vector<std::shared_ptr<Slot>> slots = slots_;
        for (const auto& slot : slots) {
            if (*slot->connected) {
                slot->handler(args...);
            }
        }
        std::erase_if(slots_, [](const auto& slot) { return !*slot->connected; });
    }

    [[nodiscard]] bool Empty() const
    {
        return std::none_of(slots_.begin(), slots_.end(), [](const auto& slot) { return *slot->connected; });
    }

private:
    struct Slot {
        Handler handler;
        std::shared_ptr<bool> connected;
    };
    mutable std::vector<std::shared_ptr<Slot>> slots_;
};

}  // namespace quillora
