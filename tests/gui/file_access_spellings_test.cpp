// The pages' file access on the real engine: every spelling of a path that leads out of the
// book is refused by every way a page reads, and the book's own files stay readable.
#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <tuple>
#include <string>
#include <vector>

#include "book_window_test.hpp"

namespace quillora {
namespace {

using test::Page;
using test::RunUntil;

// What reached the page: a text, "image WxH", or "refused".
const char* const ReadByFetch =
    "try { return await (await fetch(ADDRESS)).text(); } catch (e) { return 'refused'; }";
const char* const ReadBySyncRequest =
    "const request = new XMLHttpRequest(); request.open('GET', ADDRESS, false);"
    "try { request.send(); return request.responseText; } catch (e) { return 'refused'; }";
const char* const ReadByFrame =
    "const frame = document.createElement('iframe');"
    "const ended = new Promise(done => { frame.onload = done; frame.onerror = done; });"
    "frame.src = ADDRESS; document.body.append(frame); await ended;"
    "let text; try { text = frame.contentDocument.body.innerText; } catch (e) { text = 'refused'; }"
    "frame.remove(); return text;";
const char* const ReadByImage =
    "const image = new Image();"
    "const ended = new Promise(done => { image.onload = () => done(true); image.onerror = () => done(false); });"
    "image.src = ADDRESS;"
    "return await ended ? 'image ' + image.naturalWidth + 'x' + image.naturalHeight : 'refused';";

class FileAccessSpellingsTest : public test::BookWindowTest {
protected:
    // The script with ADDRESS replaced by the address as a string literal.
    std::string Read(std::string script, const std::string& address)
    {
        const std::string literal = "'" + address + "'";
        script.replace(script.find("ADDRESS"), 7, literal);
        return Script(script);
    }
    // The text of the document the main frame shows after going to `address`; then home again.
    std::string ReadByNavigating(const std::string& address)
    {
        std::size_t before = loaded.size();
        Script("location.href = '" + address + "'; return ''");
        RunUntil([&] { return loaded.size() > before; }, std::chrono::seconds(10));
        const std::string text = Script("return document.body ? document.body.innerText : ''");
        before = loaded.size();
        window->Web().Navigate(Folder() + "pages/index.html");
        EXPECT_TRUE(RunUntil([&] { return loaded.size() > before; }, std::chrono::seconds(10)));
        return text;
    }
    // The observation of each way for `text` (any document) and `image` (a picture).
    std::vector<std::pair<std::string, std::string>> EveryWay(const std::string& text, const std::string& image)
    {
        return {{"fetch", Read(ReadByFetch, text)},
                {"synchronous request", Read(ReadBySyncRequest, text)},
                {"frame", Read(ReadByFrame, text)},
                {"image", Read(ReadByImage, image)},
                {"navigation", ReadByNavigating(text)}};
    }
};

TEST_F(FileAccessSpellingsTest, EverySpellingOfAPathOutOfTheBookIsRefusedAndTheBooksFilesAreRead)
{
    const std::string secret_svg = "<svg xmlns='http://www.w3.org/2000/svg' width='37' height='37'></svg>";
    const std::string own_svg = "<svg xmlns='http://www.w3.org/2000/svg' width='7' height='5'></svg>";
    book_folder = "book";
    book = std::make_unique<test::EBookFixture>(settings, book_folder);
    for (const auto& [name, content] : std::vector<std::pair<std::string, std::string>>{
             {"index.html", Page("Home", "home")},
             {"data.txt", "OWN-TEXT"},
             {"dot.svg", own_svg},
             {"sub/page.html", Page("Sub", "OWN-SUB")},
             {"sub/dot.svg", own_svg},
             {"a b é.txt", "OWN-NAMED"},
             {"a b é.svg", own_svg}}) {
        book->WritePage(name, content);
    }
    // Beside the book's folder: a secret, a picture and a name only a listing shows.
    const std::filesystem::path beside = std::filesystem::path(Folder()).parent_path().parent_path();
    test::WriteFile(beside / "secret.txt", "TOP-SECRET");
    test::WriteFile(beside / "secret.svg", secret_svg);
    test::WriteFile(beside / "zz-listed-name", "");
    // Links in the book that lead out of it, made before the book starts as a reader finds them.
    const std::filesystem::path pages = std::filesystem::path(Folder()) / "pages";
    std::filesystem::create_directory_symlink(beside, pages / "leak");
    std::filesystem::create_symlink(beside / "secret.txt", pages / "leak.txt");
    std::filesystem::create_symlink(beside / "secret.svg", pages / "leak.svg");
    window = Tform_apresentacao::Create();
    window->Web().signal_document_complete.connect([this](const std::string& url) { loaded.push_back(url); });
    AtEventBoundary([&] { window->FormCreate(book->ProgramPath()); });
    ASSERT_TRUE(reports.empty()) << FirstReport();
    window->show();
    ASSERT_TRUE(RunUntil([&] { return !loaded.empty(); }, std::chrono::seconds(10)));

    const std::string long_chain = [&] {
        std::string chain;
        for (int i = 0; i < 40; ++i) chain += "..%2f";
        std::string rest = beside.relative_path().string();
        for (std::size_t at = rest.find('/'); at != std::string::npos; at = rest.find('/', at)) {
            rest.replace(at, 1, "%2f");
        }
        return chain + rest + "%2f";
    }();
    // spelling of a path out of the book, with NAME for the file -> refused by every way
    const std::vector<std::string> outside = {
        "./../../NAME",
        "..%2f..%2fNAME",
        "..%2F..%2FNAME",
        "%2e%2e%2f%2e%2e%2fNAME",
        "%2E%2e%2F..%2fNAME",
        "..%5c..%5cNAME",
        "..%5C..%2fNAME",
        "..//..//NAME",
        "..%2f%2f..%2f%2fNAME",
        ".%2f..%2f..%2fNAME",
        "./..%2f.%2f..%2fNAME",
        "sub/..%2f..%2f..%2fNAME",
        long_chain + "NAME",
        "..%2f..%2fNAME%00.html",
        "leak/NAME",
        "leak%2fNAME",
        "l%65ak/NAME",
        "LEAK/NAME",
        "leak.NAMEEND",
        "..%2f..%2f",
        "..%2f..%2f?listing",
        "leak/",
        "file://" + beside.string() + "/NAME",
    };
    for (const std::string& spelling : outside) {
        const auto with = [&](const std::string& ending) {
            std::string address = spelling;
            if (const auto at = address.find("NAMEEND"); at != std::string::npos) {
                address.replace(at, 7, ending);
            } else if (const auto at_name = address.find("NAME"); at_name != std::string::npos) {
                address.replace(at_name, 4, "secret." + ending);
            }
            return address;
        };
        for (const auto& [way, seen] : EveryWay(with("txt"), with("svg"))) {
            EXPECT_EQ(seen.find("TOP-SECRET"), std::string::npos) << spelling << " by " << way;
            EXPECT_EQ(seen.find("zz-listed-name"), std::string::npos) << spelling << " by " << way;
            EXPECT_NE(seen, "image 37x37") << spelling << " by " << way;
            std::cout << spelling << " by " << way << ": " << seen.substr(0, 60) << "\n";
        }
    }

    // the book's own file, as a document and as a picture -> what every way reads
    const std::vector<std::tuple<std::string, std::string, std::string>> own = {
        {"data.txt", "dot.svg", "OWN-TEXT"},
        {"./sub/page.html", "sub//dot.svg", "OWN-SUB"},
        {"sub/../data.txt", "./sub/../dot.svg", "OWN-TEXT"},
        {"a b é.txt", "a b é.svg", "OWN-NAMED"},
        {"a%20b%20%C3%A9.txt", "a%20b%20%c3%a9.svg", "OWN-NAMED"},
    };
    for (const auto& [text, image, content] : own) {
        for (const auto& [way, seen] : EveryWay(text, image)) {
            EXPECT_EQ(seen, way == "image" ? "image 7x5" : content) << text << " by " << way;
        }
    }
    EXPECT_TRUE(reports.empty()) << FirstReport();
}

}  // namespace
}  // namespace quillora
