// Fuzzes what the book search reads and what the reader types. The first input byte chooses:
// even -> the rest is a page: its text and title come out as valid UTF-8, and the page check's
// reading of it (the same parser) ends; odd -> the rest is what a reader typed into the search:
// asking a small index never fails, and every hit names one of its pages.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "payload/text_encoding.hpp"
#include "search/page_text.hpp"
#include "search/search_index.hpp"

namespace {

void Check(bool condition)
{
    if (!condition) {
        __builtin_trap();
    }
}

// A few pages whose words the fuzzer's queries can reach.
std::unique_ptr<quillora::SearchIndex> MakeIndex()
{
    char name[] = "/tmp/page-fuzz-XXXXXX";
    Check(mkdtemp(name) != nullptr);
    const std::filesystem::path folder(name);
    const std::pair<const char*, const char*> pages[] = {
        {"index.html", "<title>Home</title><p>The north sea, the shore and a lighthouse.</p>"},
        {"a/near.html", "<title>NEAR and AND</title><p>e-mail don't 3.5 caf&eacute; \"quoted\" *star*</p>"},
        {"b.htm", "<meta charset=utf-8><title>\u00DCber</title><p>\u00FC\u00E9 \u20AC 100</p>"},
    };
    for (const auto& page : pages) {
        std::filesystem::create_directories((folder / page.first).parent_path());
        std::ofstream(folder / page.first) << page.second;
    }
    auto index = std::make_unique<quillora::SearchIndex>(quillora::SearchIndex::Build(folder));
    std::filesystem::remove_all(folder / "a");  // context lines of a page gone since: never an error
    return index;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    if (data[0] % 2 == 0) {
        const quillora::PageText text = quillora::ExtractPageText(rest);
        Check(quillora::IsValidUtf8(text.title));
        Check(quillora::IsValidUtf8(text.body));
        return 0;
    }
    static const std::unique_ptr<quillora::SearchIndex> index = MakeIndex();
    for (const quillora::SearchHit& hit : index->Find(rest)) {
        Check(hit.path == "index.html" || hit.path == "a/near.html" || hit.path == "b.htm");
        Check(quillora::IsValidUtf8(hit.context));
    }
    return 0;
}
