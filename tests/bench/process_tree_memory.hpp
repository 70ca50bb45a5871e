#pragma once
// The memory of a process together with every process it started, directly or not (the engine's
// web, network and any other helper processes), read from /proc. Linux only; no GTK.

#include <sys/types.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace quillora::bench {

struct ProcessMemory {
    pid_t pid = 0;
    std::string name;  // the short command name from /proc/PID/stat
    long rss_kb = 0;   // VmRSS from /proc/PID/status
    long pss_kb = 0;   // Pss from /proc/PID/smaps_rollup; shared pages split between sharers
    long anon_kb = 0;  // RssAnon from /proc/PID/status: heap, stacks, the script engine's heap
};

namespace detail {

inline std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// /proc/PID/stat is "pid (name) state ppid ...". The name may hold blanks and ')', so the fields
// are read after the last ')'. Returns false for a process that ended meanwhile.
inline bool ParseStat(const std::string& stat, std::string& name, pid_t& parent)
{
    const auto open = stat.find('(');
    const auto close = stat.rfind(')');
    if (open == std::string::npos || close == std::string::npos || close < open) return false;
    name = stat.substr(open + 1, close - open - 1);
    std::istringstream rest(stat.substr(close + 1));
    char state = 0;
    long ppid = 0;
    if (!(rest >> state >> ppid)) return false;
    parent = static_cast<pid_t>(ppid);
    return true;
}

// The number in kB on the line starting with `key` ("VmRSS:", "Pss:"), 0 when there is none or
// the file cannot be read (a process that ended, or one in another user namespace).
inline long KilobytesOf(const std::string& text, std::string_view key)
{
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.compare(0, key.size(), key) == 0) {
            return std::strtol(line.c_str() + key.size(), nullptr, 10);
        }
    }
    return 0;
}

}  // namespace detail

// `root` first, then its descendants in breadth-first order.
inline std::vector<ProcessMemory> ProcessTreeMemory(pid_t root)
{
    std::map<pid_t, std::vector<pid_t>> children;
    std::map<pid_t, std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
        const std::string file = entry.path().filename().string();
        if (file.empty() || file.find_first_not_of("0123456789") != std::string::npos) continue;
        std::string name;
        pid_t parent = 0;
        if (!detail::ParseStat(detail::ReadFile(entry.path() / "stat"), name, parent)) continue;
        const auto pid = static_cast<pid_t>(std::stol(file));
        children[parent].push_back(pid);
        names[pid] = name;
    }

    std::vector<ProcessMemory> tree;
    std::vector<pid_t> queue{root};
    for (std::size_t i = 0; i < queue.size(); ++i) {
        const pid_t pid = queue[i];
        const std::filesystem::path dir = "/proc/" + std::to_string(pid);
        const std::string status = detail::ReadFile(dir / "status");
        tree.push_back({pid, names[pid], detail::KilobytesOf(status, "VmRSS:"),
                        detail::KilobytesOf(detail::ReadFile(dir / "smaps_rollup"), "Pss:"),
                        detail::KilobytesOf(status, "RssAnon:")});
        for (const pid_t child : children[pid]) queue.push_back(child);
    }
    return tree;
}

}  // namespace quillora::bench
