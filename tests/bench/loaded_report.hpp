#pragma once
// The one line a start-up probe prints when its home page has finished loading, read by
// scripts/measure-startup:
//   loaded_monotonic_ns=<CLOCK_MONOTONIC> rss_kb=<sum> pss_kb=<sum> anon_kb=<sum> processes=<count>
// The sums run over the probe and every process it started. The processes one by one go to
// standard error, to show what was counted.

#include <time.h>
#include <unistd.h>

#include <cstdio>

#include "process_tree_memory.hpp"

namespace quillora::bench {

inline long long MonotonicNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec;
}

// Takes the time first, so that reading /proc is not part of the load time.
inline void ReportLoaded()
{
    const long long loaded_ns = MonotonicNanoseconds();
    const auto tree = ProcessTreeMemory(getpid());
    long rss_kb = 0;
    long pss_kb = 0;
    long anon_kb = 0;
    for (const auto& process : tree) {
        rss_kb += process.rss_kb;
        pss_kb += process.pss_kb;
        anon_kb += process.anon_kb;
        std::fprintf(stderr, "process pid=%d name=%s rss_kb=%ld pss_kb=%ld anon_kb=%ld\n",
                     static_cast<int>(process.pid), process.name.c_str(), process.rss_kb,
                     process.pss_kb, process.anon_kb);
    }
    std::printf("loaded_monotonic_ns=%lld rss_kb=%ld pss_kb=%ld anon_kb=%ld processes=%zu\n",
                loaded_ns, rss_kb, pss_kb, anon_kb, tree.size());
    std::fflush(stdout);
}

}  // namespace quillora::bench
