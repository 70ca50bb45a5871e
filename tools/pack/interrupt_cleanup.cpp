#include "interrupt_cleanup.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <cstring>

#include "common/error.hpp"

namespace quillora::pack {
namespace {

constexpr std::array Signals = {SIGINT, SIGTERM, SIGHUP};

// A folder deeper than this keeps what lies below it; each level holds a descriptor and a small
// buffer on the handler's stack.
constexpr int MaxTreeDepth = 128;

struct Slot {
    volatile sig_atomic_t used = 0;
    unsigned long order = 0;  // registration order: the newest leftover goes first
    LeftoverKind kind = LeftoverKind::File;
    char path[PATH_MAX] = {};
};

// Written only while the signals are held back, read only by the handler.
std::array<Slot, 32> slots;
unsigned long registrations = 0;

sigset_t HandledSignals()
{
    sigset_t set;
    sigemptyset(&set);
    for (const int signal : Signals) {
        sigaddset(&set, signal);
    }
    return set;
}

bool IsDotOrDotDot(const char* name)
{
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// Empties the folder open at `folder` with raw system calls: getdents64 needs no allocation,
// unlike readdir. Entries are removed while reading, so the folder is read again until a pass
// finds nothing left to remove.
void RemoveContents(int folder, int depth)
{
    alignas(8) char buffer[1024];
    bool removed_any = true;
    while (removed_any) {
        removed_any = false;
        ::lseek(folder, 0, SEEK_SET);
        for (;;) {
            const long length = ::syscall(SYS_getdents64, folder, buffer, sizeof buffer);
            if (length <= 0) {
                break;
            }
            for (long at = 0; at < length;) {
                const auto* entry = reinterpret_cast<const struct dirent64*>(buffer + at);
                at += entry->d_reclen;
                if (IsDotOrDotDot(entry->d_name)) {
                    continue;
                }
                if (::unlinkat(folder, entry->d_name, 0) == 0) {
                    removed_any = true;
                    continue;
                }
                if (errno != EISDIR || depth >= MaxTreeDepth) {
                    continue;
                }
                const int inner = ::openat(folder, entry->d_name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
                if (inner >= 0) {
                    RemoveContents(inner, depth + 1);
                    ::close(inner);
                }
                removed_any = ::unlinkat(folder, entry->d_name, AT_REMOVEDIR) == 0 || removed_any;
            }
        }
    }
}

void RemoveLeftover(const Slot& slot)
{
    switch (slot.kind) {
    case LeftoverKind::File: ::unlink(slot.path); break;
    case LeftoverKind::Tree:
        if (const int folder = ::open(slot.path, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC); folder >= 0) {
            RemoveContents(folder, 0);
            ::close(folder);
        }
        ::rmdir(slot.path);
        break;
    case LeftoverKind::EmptyFolder: ::rmdir(slot.path); break;
    }
}

void OnInterrupt(int signal)
{
    const int saved_errno = errno;
    for (;;) {
        Slot* newest = nullptr;
        for (Slot& slot : slots) {
            if (slot.used && (newest == nullptr || slot.order > newest->order)) {
                newest = &slot;
            }
        }
        if (newest == nullptr) {
            break;
        }
        RemoveLeftover(*newest);
        newest->used = 0;
    }
    // Die of the signal as without this handler; it is delivered as soon as the handler returns.
    std::signal(signal, SIG_DFL);
    ::raise(signal);
    errno = saved_errno;
}

}  // namespace

void InstallInterruptCleanup()
{
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    action.sa_mask = HandledSignals();  // one cleanup at a time
    for (const int signal : Signals) {
        struct sigaction previous {};
        // A signal ignored at start (nohup, a background job) stays ignored.
        if (::sigaction(signal, nullptr, &previous) == 0 && previous.sa_handler != SIG_IGN) {
            ::sigaction(signal, &action, nullptr);
        }
    }
}

InterruptLeftover::InterruptLeftover(const std::filesystem::path& path, LeftoverKind kind) : slot_(-1)
{
    const std::string& text = path.native();
    if (text.size() >= PATH_MAX) {
        throw quillora::Error("the path " + text + " is too long");
    }
    const DeferredInterrupts deferred;
    for (std::size_t i = 0; i < slots.size(); ++i) {
        if (!slots[i].used) {
            slots[i].kind = kind;
            slots[i].order = ++registrations;
            std::memcpy(slots[i].path, text.c_str(), text.size() + 1);
            slots[i].used = 1;
            slot_ = static_cast<int>(i);
            return;
        }
    }
    throw quillora::Error("too many temporary files at once to remove them on an interrupt");
}

InterruptLeftover::~InterruptLeftover()
{
    const DeferredInterrupts deferred;
    slots[static_cast<std::size_t>(slot_)].used = 0;
}

DeferredInterrupts::DeferredInterrupts()
{
    const sigset_t set = HandledSignals();
    ::sigprocmask(SIG_BLOCK, &set, &previous_);
}

DeferredInterrupts::~DeferredInterrupts()
{
    ::sigprocmask(SIG_SETMASK, &previous_, nullptr);
}

}  // namespace quillora::pack
