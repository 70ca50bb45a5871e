#pragma once

#include <signal.h>

#include <filesystem>

namespace quillora::pack {

// What an interrupted run leaves behind, and how to take it away.
enum class LeftoverKind {
    File,         // unlinked
    Tree,         // a folder removed with everything in it (links are removed, never followed)
    EmptyFolder,  // removed only while empty
};

// Makes SIGINT, SIGTERM and SIGHUP remove every registered leftover, newest first, before the
// process ends of the signal as it would have without the handler. The removal uses only
// async-signal-safe system calls, since the signal may arrive anywhere.
void InstallInterruptCleanup();

// Registers a leftover for as long as it lives. The registry is small and fixed (no memory is
// allocated in a signal handler): registering beyond its room throws an Error.
class InterruptLeftover {
public:
    InterruptLeftover(const std::filesystem::path& path, LeftoverKind kind);
    InterruptLeftover(const InterruptLeftover&) = delete;
    InterruptLeftover& operator=(const InterruptLeftover&) = delete;
    ~InterruptLeftover();

private:
    int slot_;
};

// Holds SIGINT, SIGTERM and SIGHUP back while alive: a run of renames that must not stop
// halfway (or its undoing) finishes first, and a signal that came meanwhile acts afterwards.
class DeferredInterrupts {
public:
    DeferredInterrupts();
    DeferredInterrupts(const DeferredInterrupts&) = delete;
    DeferredInterrupts& operator=(const DeferredInterrupts&) = delete;
    ~DeferredInterrupts();

private:
    sigset_t previous_;
};

}  // namespace quillora::pack
