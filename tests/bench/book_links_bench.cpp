// What looking for links that lead out of the book costs at start: a generated book folder of
// 10,000 files in 100 folders, with a few links among them, walked as the runtime walks it.
//
//   bench_book_links [FILES] [FOLDER]   # default 10000 files, in $TMPDIR or /tmp
//
// Prints the median and slowest walk of 21 (the folder's entries are in the system's cache, as
// they are for a book just opened) and the time to write the content rules for what was found.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "book/book_file_access.hpp"
#include "book/book_links.hpp"
#include "common/temporary_folder.hpp"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv)
{
    const int files = argc > 1 ? std::atoi(argv[1]) : 10000;
    if (argc > 2) {
        setenv("TMPDIR", argv[2], 1);
    }
    const quillora::TemporaryFolder folder = quillora::TemporaryFolder::Create("quillora-bench-links");
    const fs::path book = folder.Path() / "book";
    for (int i = 0; i < files; ++i) {
        const fs::path sub = book / "pages" / ("part" + std::to_string(i % 100));
        if (i < 100) {
            fs::create_directories(sub);
        }
        std::ofstream(sub / ("page" + std::to_string(i) + ".html")) << "<p>page " << i << "</p>";
    }
    for (int i = 0; i < 10; ++i) {
        fs::create_directory_symlink(book / "pages" / "part1", book / "pages" / ("alias" + std::to_string(i)));
        fs::create_symlink(folder.Path(), book / "pages" / ("part" + std::to_string(i)) / "out");
    }

    std::vector<double> times;
    quillora::BookLinks links;
    for (int run = 0; run < 21; ++run) {
        const auto start = Clock::now();
        links = quillora::FindBookLinks(book.string() + "/");
        times.push_back(MillisecondsSince(start));
    }
    std::sort(times.begin(), times.end());
    const auto start = Clock::now();
    const std::string rules = quillora::BookFileAccessRules("file://" + book.string() + "/", links);
    const double rules_time = MillisecondsSince(start);
    std::printf("%d files, %zu links leading out, %zu to folders inside\n", files, links.leading_out.size(),
                links.folders_inside.size());
    std::printf("walk: median %.2f ms, slowest %.2f ms\n", times[times.size() / 2], times.back());
    std::printf("rules: %zu bytes written in %.3f ms\n", rules.size(), rules_time);
    return 0;
}
