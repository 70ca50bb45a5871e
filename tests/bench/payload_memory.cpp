// Peak memory of start-up's payload path for a large settings text: reading the text, cutting it
// into the settings list, and joining the list again as the custom menu's file does. Each shape
// runs in a process of its own, started from this small parent, so that its peak resident size
// (ru_maxrss from wait4) is that path's alone; the book itself is written by another child.
//
//   bench_payload_memory [MIB] [FOLDER]   # default 200 MiB, in $TMPDIR or /tmp
//
// Prints one line per shape: text size, peak resident size of the list alone and of the list
// plus the menu file's text, each also as a multiple of the text.

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>

#include "payload/payload.hpp"
#include "payload/payload_writer.hpp"
#include "payload/settings_list.hpp"

namespace {

constexpr int SettingLines = 103;
constexpr int HomePageMissingLine = 49;

// Windows-1252 text, so that the whole payload is decoded as that code page.
constexpr std::string_view Latin1Words = "A p\xE1gina n\xE3o existe; a\xE7\xE3o \x96 cap\xEDtulo. ";
constexpr std::string_view Latin1MenuLine = "MENUx12_34=LOADHTML \"C:\\Livro\\p\xE1ginas\\cap\xEDtulo 12345.htm\"\r\n";

struct Shape {
    const char* name;
    // Fills `text` (which holds the 103 settings lines but the last) up to `size` bytes.
    std::string (*make)(std::size_t size);
};

std::string SettingsBefore(int line)
{
    std::string text;
    for (int i = 0; i < line; ++i) {
        text += "0\r\n";
    }
    return text;
}

// One huge setting (the missing-page message), the other settings short.
std::string OneLongLine(std::size_t size)
{
    std::string text = SettingsBefore(HomePageMissingLine);
    const std::string after = SettingsBefore(SettingLines - HomePageMissingLine - 1);
    while (text.size() + after.size() + 2 < size) {
        text += Latin1Words.substr(0, std::min(Latin1Words.size(), size - text.size() - after.size() - 2));
    }
    return text + "\r\n" + after;
}

// The 103 settings followed by a long menu definition of ~60-byte lines.
std::string ManyMenuLines(std::size_t size)
{
    std::string text = SettingsBefore(SettingLines) + "[ACOES]\r\n";
    while (text.size() + Latin1MenuLine.size() <= size) {
        text += Latin1MenuLine;
    }
    return text;
}

constexpr Shape Shapes[] = {
    {"one huge line (Windows-1252)", OneLongLine},
    {"~60-byte menu lines (Windows-1252)", ManyMenuLines},
};

// What start-up does: the text in a buffer of DataLength bytes, cut into the list; the buffer
// goes before the list is used. With `join`, the list's text as the custom menu's file holds it.
int RunStartupPath(const std::string& book, bool join)
{
    const quillora::TPayload payload(book);
    if (!payload.IsPresent()) {
        return 3;
    }
    quillora::SettingsList settings = [&] {
        std::string text(static_cast<std::size_t>(payload.DataLength()), '\0');
        payload.ReadInto(text);
        return quillora::SettingsList::FromPayloadBytes(text);
    }();
    if (settings.Count() < SettingLines) {
        return 4;
    }
    if (join) {
        const std::string menu_file = settings.ToText();
        return menu_file.empty() ? 5 : 0;
    }
    return 0;
}

// Runs `work` in a child and returns the child's peak resident size in KiB (0 on failure).
template <typename Work>
long InChild(Work work)
{
    const pid_t child = ::fork();
    if (child < 0) {
        return 0;
    }
    if (child == 0) {
        ::_exit(work());
    }
    int status = 0;
    rusage usage{};
    if (::wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "child failed (status %d)\n", status);
        return 0;
    }
    return usage.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 200;
    const char* tmp = std::getenv("TMPDIR");
    const std::string folder = argc > 2 ? argv[2] : (tmp != nullptr ? tmp : "/tmp");
    const std::string book = folder + "/quillora-payload-memory-" + std::to_string(::getpid()) + ".bin";
    const std::size_t size = megabytes << 20;

    std::printf("%-40s %10s %14s %16s\n", "shape", "text MiB", "list: peak MiB", "+menu text: MiB");
    int failures = 0;
    for (const Shape& shape : Shapes) {
        const long written = InChild([&] {
            const std::string image(4096, '\x7F');
            std::ofstream out(book, std::ios::binary | std::ios::trunc);
            out << quillora::AppendPayload(image, shape.make(size));
            return out.good() ? 0 : 1;
        });
        if (written == 0) {
            ++failures;
            continue;
        }
        const double text_mb = static_cast<double>(size) / 1048576.0;
        const double list_mb = static_cast<double>(InChild([&] { return RunStartupPath(book, false); })) / 1024.0;
        const double joined_mb = static_cast<double>(InChild([&] { return RunStartupPath(book, true); })) / 1024.0;
        failures += list_mb == 0 || joined_mb == 0;
        std::printf("%-40s %10.0f %8.0f (%.2fx) %10.0f (%.2fx)\n", shape.name, text_mb, list_mb, list_mb / text_mb,
                    joined_mb, joined_mb / text_mb);
    }
    std::remove(book.c_str());
    return failures == 0 ? 0 : 1;
}
