#include "menu/removal_on_exit.hpp"

#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace quillora {
namespace {

// Fixed storage, so that the handler reads no memory that may be freed or moved under it. A
// slot's path is written while the slot is marked unused and published by marking it used.
constexpr std::size_t SlotCount = 8;
constexpr std::size_t PathCapacity = 4096;

struct Slot {
    std::atomic<bool> used{false};
    std::array<char, PathCapacity> path{};
};

std::array<Slot, SlotCount> slots;
std::mutex registering;  // between threads that register; the handler never takes it

constexpr std::array<int, 3> Signals = {SIGTERM, SIGINT, SIGHUP};
std::array<struct sigaction, Signals.size()> previous{};

void RemoveRegistered() noexcept
{
    for (auto& slot : slots) {
        if (slot.used.load(std::memory_order_acquire)) {
            ::unlink(slot.path.data());
        }
    }
}

void OnSignal(int number, siginfo_t* info, void* context)
{
    const int saved_errno = errno;
    RemoveRegistered();
    for (std::size_t n = 0; n < Signals.size(); ++n) {
        if (Signals[n] != number) {
            continue;
        }
        const auto& before = previous[n];
        if ((before.sa_flags & SA_SIGINFO) != 0 && before.sa_sigaction != nullptr) {
            before.sa_sigaction(number, info, context);
        } else if (before.sa_handler != SIG_DFL && before.sa_handler != SIG_IGN) {
            before.sa_handler(number);
        } else {
            // Back to the default action; the signal is blocked while this runs, so the raised
            // one ends the program as soon as the handler returns.
            struct sigaction fallback {};
            fallback.sa_handler = SIG_DFL;
            sigemptyset(&fallback.sa_mask);
            sigaction(number, &fallback, nullptr);
            raise(number);
        }
    }
    errno = saved_errno;
}

void InstallOnce()
{
    for (std::size_t n = 0; n < Signals.size(); ++n) {
        if (sigaction(Signals[n], nullptr, &previous[n]) != 0 || previous[n].sa_handler == SIG_IGN) {
            continue;
        }
        struct sigaction action {};
        action.sa_sigaction = OnSignal;
        action.sa_flags = SA_SIGINFO | SA_RESTART;
        sigemptyset(&action.sa_mask);
        for (const int other : Signals) {
            sigaddset(&action.sa_mask, other);
        }
        sigaction(Signals[n], &action, nullptr);
    }
    std::atexit(RemoveRegistered);
}

}  // namespace

int RemoveOnExit(const std::string& path)
{
    if (path.size() >= PathCapacity) {
        return -1;
    }
    const std::lock_guard lock(registering);
    static std::once_flag installed;
    std::call_once(installed, InstallOnce);
    for (std::size_t n = 0; n < slots.size(); ++n) {
        auto& slot = slots[n];
        if (!slot.used.load(std::memory_order_relaxed)) {
            std::memcpy(slot.path.data(), path.c_str(), path.size() + 1);
            slot.used.store(true, std::memory_order_release);
            return static_cast<int>(n);
        }
    }
    return -1;
}

void ForgetOnExit(int slot)
{
    if (slot >= 0 && static_cast<std::size_t>(slot) < slots.size()) {
        const std::lock_guard lock(registering);
        slots[static_cast<std::size_t>(slot)].used.store(false, std::memory_order_release);
    }
}

}  // namespace quillora
