#include "browsing/web_process_memory.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/temp_files.hpp"

namespace quillora {
namespace {

using Action = WebProcessMemoryVerdict::Action;

struct FakeProcess {
    int pid;
    int parent;
    std::string name;
    std::string rss;  // the VmRSS line's value, empty for none (a kernel thread, a zombie)
};

// A /proc of the given processes, with the lines around them that a real status file has.
void WriteFakeProc(const test::TempDir& proc, const std::vector<FakeProcess>& processes)
{
    for (const auto& p : processes) {
        std::string status = "Name:\t" + p.name + "\nUmask:\t0022\nState:\tS (sleeping)\nTgid:\t" +
                             std::to_string(p.pid) + "\nNgid:\t0\nPid:\t" + std::to_string(p.pid) + "\nPPid:\t" +
                             std::to_string(p.parent) + "\nVmPeak:\t 9999999 kB\n";
        if (!p.rss.empty()) {
            status += "VmRSS:\t" + p.rss + "\nRssAnon:\t 1 kB\n";
        }
        status += "Threads:\t12\n";
        proc.Write(std::to_string(p.pid) + "/status", status);
    }
}

TEST(WebProcessMemory, OnlyTheWebProcessesBelowTheProgramAreSummed)
{
    const std::vector<FakeProcess> machine = {
        {1, 0, "systemd", "  12000 kB"},
        {2, 0, "kthreadd", ""},
        {100, 1, "quillora-book", "  80000 kB"},
        {101, 100, "WebKitNetworkP", "  30000 kB"},
        {102, 100, "WebKitWebProces", " 500000 kB"},
        {103, 100, "WebKitWebProces", "   1000 kB"},  // a second view's or a swapped process
        {104, 100, "bwrap", "    100 kB"},
        {105, 104, "WebKitWebProces", "   2000 kB"},  // under a sandbox's helper
        {106, 100, "WebKitWebProces", ""},            // ended, not yet reaped
        {107, 100, "xdg-open", "   3000 kB"},
        {108, 107, "evince", "  40000 kB"},
        {200, 1, "other-book", "  80000 kB"},
        {201, 200, "WebKitWebProces", " 900000 kB"},  // another program's
    };
    test::TempDir proc;
    WriteFakeProc(proc, machine);
    proc.Write("self", "not a process");
    proc.Write("meminfo", "MemTotal: 1 kB\n");
    proc.Write("300/cmdline", "no status: gone while read");
    const auto processes = ReadProcesses(proc.Path());
    ASSERT_EQ(processes.size(), machine.size());

    struct Case {
        pid_t ancestor;
        std::uint64_t kib;
    } cases[] = {
        {100, 500000 + 1000 + 2000}, {104, 2000}, {200, 900000}, {107, 0}, {999, 0}, {1, 500000 + 1000 + 2000 + 900000},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WebProcessesResidentBytes(processes, c.ancestor), c.kib * 1024) << c.ancestor;
    }
    EXPECT_TRUE(ReadProcesses(proc / "missing").empty());
}

TEST(WebProcessMemory, StatusLinesAreRead)
{
    struct Case {
        std::string text;
        pid_t pid;
        pid_t parent;
        std::string name;
        std::uint64_t bytes;
    } cases[] = {
        {"Name:\tWebKitWebProces\nPid:\t7\nPPid:\t3\nVmRSS:\t  4 kB\n", 7, 3, "WebKitWebProces", 4096},
        {"Name:\ta b: c\nPid:\t7\nPPid:\t3\nVmRSS:\t4 kB", 7, 3, "a b: c", 4096},  // no final line end
        {"Name:\tzombie\nPid:\t9\nPPid:\t3\n", 9, 3, "zombie", 0},
        {"Name:\tx\nVmRSS:\t12345678 kB\nPid:\t5\n", 5, 0, "x", 12345678ull * 1024},
        {"", 0, 0, "", 0},
        {"garbage\n:\n\n", 0, 0, "", 0},
    };
    for (const auto& c : cases) {
        const ProcessStatus status = ParseProcessStatus(c.text);
        EXPECT_EQ(status.pid, c.pid) << c.text;
        EXPECT_EQ(status.parent, c.parent) << c.text;
        EXPECT_EQ(status.name, c.name) << c.text;
        EXPECT_EQ(status.resident_bytes, c.bytes) << c.text;
    }
}

TEST(WebProcessMemory, TheVerdictEndsOnceOnEachCrossingOfTheLimit)
{
    // looks in turn -> what each one decides
    struct Case {
        const char* what;
        std::vector<std::uint64_t> looks;
        std::vector<Action> actions;
    } cases[] = {
        {"within", {0, 50, 100}, {Action::KeepRunning, Action::KeepRunning, Action::KeepRunning}},
        {"past", {99, 101}, {Action::KeepRunning, Action::End}},
        {"still past while it dies", {101, 900, 101}, {Action::End, Action::KeepRunning, Action::KeepRunning}},
        {"back within, then past again",
         {101, 0, 20, 150},
         {Action::End, Action::KeepRunning, Action::KeepRunning, Action::End}},
    };
    for (const auto& c : cases) {
        WebProcessMemoryVerdict verdict(100);
        std::vector<Action> actions;
        for (const auto look : c.looks) {
            actions.push_back(verdict.Look(look));
        }
        EXPECT_EQ(actions, c.actions) << c.what;
    }
}

}  // namespace
}  // namespace quillora
