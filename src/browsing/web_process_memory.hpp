#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace quillora {

// The memory of the engine's web processes as the program's own process sees it from outside,
// and the decision to end them. A page whose script never yields keeps the web process's main
// thread, where the engine itself looks at the memory, to itself; the program's process still
// reads /proc.

// One process as its /proc/<pid>/status file tells it.
struct ProcessStatus {
    pid_t pid = 0;
    pid_t parent = 0;
    std::string name;                  // the kernel's name, cut to 15 bytes
    std::uint64_t resident_bytes = 0;  // VmRSS; 0 for a process that holds no memory (a zombie)
};

// Every process under `proc_root` (normally "/proc"). A process that ends while it is read, or
// whose status cannot be read, is left out.
[[nodiscard]] std::vector<ProcessStatus> ReadProcesses(const std::filesystem::path& proc_root);
// One status file's text; a process without a "Pid:" line gets pid 0.
[[nodiscard]] ProcessStatus ParseProcessStatus(const std::string& text);

// The resident memory of the engine's web processes among the descendants of `ancestor`, summed.
// Its network process and the programs it starts for the reader are not counted.
[[nodiscard]] std::uint64_t WebProcessesResidentBytes(const std::vector<ProcessStatus>& processes, pid_t ancestor);

// Decides, one look at a time, when the web processes are past the limit. It says End once as
// they go past, and again only after a look found them back within the limit: a process that was
// told to end takes a while to give its memory back, and a new one (the reader's Reload) starts
// small.
class WebProcessMemoryVerdict {
public:
    explicit WebProcessMemoryVerdict(std::uint64_t limit_bytes) : limit_bytes_(limit_bytes) {}

    enum class Action { KeepRunning, End };
    [[nodiscard]] Action Look(std::uint64_t resident_bytes);

    [[nodiscard]] std::uint64_t LimitBytes() const { return limit_bytes_; }

private:
    std::uint64_t limit_bytes_;
    bool ended_ = false;
};

}  // namespace quillora
