#include "browsing/web_process_memory.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <charconv>
#include <map>
#include <string_view>
#include <system_error>

#include "common/unique_fd.hpp"

namespace quillora {

namespace {

// The kernel's name of the engine's web process ("WebKitWebProcess" cut to 15 bytes).
constexpr std::string_view WebProcessName = "WebKitWebProces";
constexpr std::uint64_t KiB = 1024;

// The whole of a small file, read with one descriptor and no stream: the watchdog reads every
// process's status once a second. Empty when it cannot be read.
std::string ReadSmallFile(const std::string& path)
{
    const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.Valid()) {
        return {};
    }
    std::string text;
    std::array<char, 4096> buffer{};
    ssize_t length = 0;
    while ((length = ::read(fd.Get(), buffer.data(), buffer.size())) > 0) {
        text.append(buffer.data(), static_cast<std::size_t>(length));
    }
    return text;
}

template <typename Number>
Number LeadingNumber(std::string_view text)
{
    const auto start = text.find_first_not_of(" \t");
    Number value{};
    if (start != std::string_view::npos) {
        std::from_chars(text.data() + start, text.data() + text.size(), value);
    }
    return value;
}

}  // namespace

ProcessStatus ParseProcessStatus(const std::string& text)
{
    ProcessStatus status;
    std::string_view rest = text;
    while (!rest.empty()) {
        const auto end = rest.find('\n');
        const std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
        const auto colon = line.find(':');
        if (colon == std::string_view::npos) {
            continue;
        }
        const std::string_view key = line.substr(0, colon);
        const std::string_view value = line.substr(colon + 1);
        if (key == "Name") {
            const auto start = value.find_first_not_of(" \t");
            status.name = start == std::string_view::npos ? "" : std::string(value.substr(start));
        } else if (key == "Pid") {
            status.pid = LeadingNumber<pid_t>(value);
        } else if (key == "PPid") {
            status.parent = LeadingNumber<pid_t>(value);
        } else if (key == "VmRSS") {
            status.resident_bytes = LeadingNumber<std::uint64_t>(value) * KiB;  // always in kB
        }
    }
    return status;
}

std::vector<ProcessStatus> ReadProcesses(const std::filesystem::path& proc_root)
{
    std::vector<ProcessStatus> processes;
    std::error_code error;
    for (std::filesystem::directory_iterator entries(proc_root, error), end; !error && entries != end;
         entries.increment(error)) {
        const std::string name = entries->path().filename().string();
        if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        ProcessStatus status = ParseProcessStatus(ReadSmallFile((entries->path() / "status").string()));
        if (status.pid > 0) {
            processes.push_back(std::move(status));
        }
    }
    return processes;
}

std::uint64_t WebProcessesResidentBytes(const std::vector<ProcessStatus>& processes, pid_t ancestor)
{
    std::multimap<pid_t, const ProcessStatus*> children;
    for (const auto& process : processes) {
        children.emplace(process.parent, &process);
    }
    // Down from the ancestor, so that a web process under a sandbox's helper counts too. Each
    // process has one parent, so none is reached twice.
    std::uint64_t sum = 0;
    std::vector<pid_t> pending{ancestor};
    while (!pending.empty()) {
        const pid_t parent = pending.back();
        pending.pop_back();
        const auto [first, last] = children.equal_range(parent);
        for (auto child = first; child != last; ++child) {
            const ProcessStatus& process = *child->second;
            if (process.pid == parent || process.pid == ancestor) {
                continue;  // pid 0's parent is 0 in /proc; nothing is its own child
            }
            if (process.name.rfind(WebProcessName, 0) == 0) {
                sum += process.resident_bytes;
            }
            pending.push_back(process.pid);
        }
    }
    return sum;
}

WebProcessMemoryVerdict::Action WebProcessMemoryVerdict::Look(std::uint64_t resident_bytes)
{
    if (resident_bytes <= limit_bytes_) {
        ended_ = false;
        return Action::KeepRunning;
    }
    if (ended_) {
        return Action::KeepRunning;
    }
    ended_ = true;
    return Action::End;
}

}  // namespace quillora
