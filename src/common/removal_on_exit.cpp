#include "common/removal_on_exit.hpp"

#include <dirent.h>
#include <fcntl.h>
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
constexpr std::size_t SlotCount = 16;
constexpr std::size_t PathCapacity = 4096;

struct Slot {
    std::atomic<bool> used{false};
    // A child forked without exec shares the slots but not the paths: what it ends with is the
    // parent's still.
    pid_t owner = 0;
    std::array<char, PathCapacity> path{};
};

std::array<Slot, SlotCount> slots;
std::mutex registering;  // between threads that register; the handler never takes it

constexpr std::array<int, 3> Signals = {SIGTERM, SIGINT, SIGHUP};
std::array<struct sigaction, Signals.size()> previous{};

// Private temporary folders are shallow; deeper ones keep what lies past this depth.
constexpr int DeepestFolder = 8;

// Empties the open folder `folder` and closes it. Reads the entries with getdents64, which
// (unlike readdir) allocates nothing. unlinkat removes a file or a link, the link itself and not
// what it points to; only an entry it refuses as a folder is opened, without following links.
void EmptyFolder(int folder, int depth) noexcept
{
    alignas(dirent64) char entries[2048];
    bool removed_any = true;
    // Removing entries while reading shifts the rest; read again from the start until a whole
    // pass removes nothing (what is left then cannot be removed).
    while (removed_any) {
        removed_any = false;
        ::lseek(folder, 0, SEEK_SET);
        ssize_t length = 0;
        while ((length = ::getdents64(folder, entries, sizeof entries)) > 0) {
            for (ssize_t at = 0; at < length;) {
                const auto* entry = reinterpret_cast<const dirent64*>(entries + at);
                at += entry->d_reclen;
                const char* name = entry->d_name;
                if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) {
                    continue;
                }
                if (::unlinkat(folder, name, 0) == 0) {
                    removed_any = true;
                    continue;
                }
                if (errno != EISDIR || depth >= DeepestFolder) {
                    continue;
                }
                const int inner = ::openat(folder, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
                if (inner >= 0) {
                    EmptyFolder(inner, depth + 1);
                    removed_any = ::unlinkat(folder, name, AT_REMOVEDIR) == 0 || removed_any;
                }
            }
        }
    }
    ::close(folder);
}

void RemovePath(const char* path) noexcept
{
    if (::unlink(path) == 0 || errno != EISDIR) {
        return;
    }
    const int folder = ::open(path, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (folder >= 0) {
        EmptyFolder(folder, 1);
        ::rmdir(path);
    }
}

void RemoveRegistered() noexcept
{
    for (auto& slot : slots) {
        if (slot.used.load(std::memory_order_acquire) && slot.owner == ::getpid()) {
            RemovePath(slot.path.data());
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
            slot.owner = ::getpid();
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
