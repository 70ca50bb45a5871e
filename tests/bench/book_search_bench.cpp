// What searching a large book costs: a generated book of 10,000 pages (about 3 KB of text each,
// with markup, a script and entities) is indexed as packing does it and as the runtime does it in
// memory, and then queried.
//
//   bench_book_search [PAGES] [FOLDER]   # default 10000 pages, in $TMPDIR or /tmp
//
// Prints the build times, the index file's size, the time to find the packed index fresh (which
// lists and compares every page) and the median and slowest time of each kind of query.

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "common/temporary_folder.hpp"
#include "search/book_pages.hpp"
#include "search/page_text.hpp"
#include "search/search_index.hpp"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The processor time of the whole process (all threads) since `start`, a figure that depends
// less on what else the machine runs.
double CpuMillisecondsSince(std::clock_t start)
{
    return 1000.0 * static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
}

// A vocabulary of made-up words, drawn with the skewed frequencies of real text.
class Words {
public:
    explicit Words(std::mt19937& random) : random_(random)
    {
        const char* syllables[] = {"ka", "lo",  "mer", "tin", "sa", "ven", "dor", "ri",  "qua", "bel",
                                   "no", "ste", "gra", "phi", "ul", "ton", "ma",  "zer", "chi", "ad"};
        for (int i = 0; i < 20000; ++i) {
            std::string word;
            for (int n = 1 + i % 3, k = i; n >= 0; --n, k /= 20) word += syllables[k % 20];
            words_.push_back(word);
        }
    }
    const std::string& Next()
    {
        // Zipf-like: small indexes are common, large ones rare.
        const double u = std::uniform_real_distribution<double>(0, 1)(random_);
        return words_[static_cast<std::size_t>(std::pow(static_cast<double>(words_.size()), u)) - 1];
    }
    const std::string& At(std::size_t rank) const { return words_[rank]; }

private:
    std::mt19937& random_;
    std::vector<std::string> words_;
};

void WriteBook(const fs::path& folder, int pages)
{
    std::mt19937 random(13);
    Words words(random);
    for (int page = 0; page < pages; ++page) {
        std::string html = "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>Chapter " + std::to_string(page) +
                           ": " + words.Next() + " " + words.Next() +
                           "</title><style>p{margin:0}</style><script>var n = " + std::to_string(page) +
                           ";</script></head><body>";
        for (int paragraph = 0; paragraph < 8; ++paragraph) {
            html += "<p>";
            for (int w = 0; w < 60; ++w) {
                html += (w % 17 == 5 ? "<b>" + words.Next() + "</b>" : words.Next()) + (w % 11 == 10 ? ", " : " ");
            }
            html += "&amp; caf&eacute;.</p>\n";
        }
        html += "</body></html>\n";
        const fs::path file =
            folder / ("part" + std::to_string(page / 500)) / ("page" + std::to_string(page) + ".html");
        fs::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << html;
    }
}

struct Timing {
    double median, slowest, median_cpu;
    std::size_t hits;
};

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

Timing TimeQueries(const quillora::SearchIndex& index, const std::vector<std::string>& queries)
{
    std::vector<double> times, cpu_times;
    std::size_t hits = 0;
    for (int round = 0; round < 3; ++round) {
        for (const auto& query : queries) {
            const auto start = Clock::now();
            const auto cpu = std::clock();
            hits += index.Find(query).size();
            times.push_back(MillisecondsSince(start));
            cpu_times.push_back(CpuMillisecondsSince(cpu));
        }
    }
    return {Median(times), *std::max_element(times.begin(), times.end()), Median(cpu_times), hits / 3};
}

}  // namespace

int main(int argc, char** argv)
{
    const int pages = argc > 1 ? std::atoi(argv[1]) : 10000;
    const auto base = quillora::TemporaryFolder::Create("quillora-search-bench");
    const fs::path folder = argc > 2 ? fs::path(argv[2]) : base.Path() / "pages";
    fs::create_directories(folder);

    auto start = Clock::now();
    auto cpu = std::clock();
    WriteBook(folder, pages);
    std::printf("book: %d pages written in %.0f ms\n", pages, MillisecondsSince(start));

    start = Clock::now();
    cpu = std::clock();
    std::size_t characters = 0;
    for (const auto& page : quillora::ListBookPages(folder)) {
        std::string html(static_cast<std::size_t>(page.size), '\0');
        std::ifstream(folder / page.path, std::ios::binary).read(html.data(), page.size);
        characters += quillora::ExtractPageText(html).body.size();
    }
    std::printf("reading the pages' text alone: %.0f ms (%.0f ms of processor time), %.1f MiB of text\n",
                MillisecondsSince(start), CpuMillisecondsSince(cpu),
                static_cast<double>(characters) / (1024.0 * 1024.0));

    start = Clock::now();
    cpu = std::clock();
    quillora::WriteSearchIndexFile(folder);
    std::printf("pack-time index: built in %.0f ms (%.0f ms of processor time), %.1f MiB\n", MillisecondsSince(start),
                CpuMillisecondsSince(cpu),
                static_cast<double>(fs::file_size(folder / quillora::SearchIndexFileName)) / (1024.0 * 1024.0));

    start = Clock::now();
    const auto packed = quillora::SearchIndex::OpenFresh(folder);
    std::printf("pack-time index: found fresh in %.0f ms (%s)\n", MillisecondsSince(start),
                packed ? "used" : "NOT USED");
    if (!packed) {
        return 1;
    }

    start = Clock::now();
    cpu = std::clock();
    const auto in_memory = quillora::SearchIndex::Build(folder);
    std::printf("runtime index in memory: built in %.0f ms (%.0f ms of processor time)\n", MillisecondsSince(start),
                CpuMillisecondsSince(cpu));

    std::mt19937 random(7);
    Words words(random);
    const std::vector<std::pair<const char*, std::vector<std::string>>> kinds = {
        {"one common word", {words.At(0), words.At(3), words.At(10), words.At(30)}},
        {"one rare word", {words.At(5000), words.At(9000), words.At(15000), words.At(19000)}},
        {"two words",
         {words.At(2) + " " + words.At(40), words.At(100) + " " + words.At(700), words.At(7) + " " + words.At(3000)}},
        {"1-2 letters, whole", {"k", "ma", "s", "qu"}},
        {"prefix of 3-4 letters", {"kal", "merti", "sav", "dorr"}},
        {"no match", {"zzzz", "elephant", "kalo zzz"}},
    };
    for (const auto* index : {&*packed, &in_memory}) {
        std::printf("%s:\n", index == &*packed ? "queries, pack-time index (file)" : "queries, runtime index (memory)");
        for (const auto& [kind, queries] : kinds) {
            const Timing timing = TimeQueries(*index, queries);
            std::printf("  %-22s median %6.2f ms (%6.2f ms of processor time), slowest %6.2f ms, %zu results/query\n",
                        kind, timing.median, timing.median_cpu, timing.slowest, timing.hits / queries.size());
        }
    }
    return 0;
}
