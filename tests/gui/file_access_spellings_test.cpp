// The pages' file access on the real engine: every spelling of a path that leads out of the
// book is refused by every way a page reads, and the book's own files stay readable.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "book_window_test.hpp"

namespace quillora {
namespace {

using test::Page;
using test::RunUntil;

// Each way reads every address of ADDRESSES, an array, at once and returns what reached the page
// for each, a text, "image WxH" or "refused", joined by U+0001.
const char* const ReadByFetch = "return (await Promise.all(ADDRESSES.map(async address => {"
                                "  try { return await (await fetch(address)).text(); } catch (e) { return 'refused'; }"
                                "}))).join('\\u0001');";
const char* const ReadBySyncRequest =
    "return ADDRESSES.map(address => {"
    "  const request = new XMLHttpRequest(); request.open('GET', address, false);"
    "  try { request.send(); return request.responseText; } catch (e) { return 'refused'; }"
    "}).join('\\u0001');";
const char* const ReadByImage =
    "return (await Promise.all(ADDRESSES.map(address => new Promise(done => {"
    "  const image = new Image();"
    "  image.onload = () => done('image ' + image.naturalWidth + 'x' + image.naturalHeight);"
    "  image.onerror = () => done('refused');"
    "  image.src = address;"
    "})))).join('\\u0001');";
// A refused frame never ends loading: once the frames of the book's own files have loaded, the
// others have had the time those took, and what they show is read.
const char* const ReadByFrame = "const frames = ADDRESSES.map(address => {"
                                "  const frame = document.createElement('iframe');"
                                "  frame.loaded = new Promise(done => { frame.onload = done; });"
                                "  frame.src = address; document.body.append(frame); return frame;"
                                "});"
                                "await Promise.all(frames.slice(0, OWN).map(frame => frame.loaded));"
                                "await new Promise(done => setTimeout(done, 300));"
                                "const seen = frames.map(frame => {"
                                "  try { return frame.contentDocument.body.innerText; } catch (e) { return 'refused'; }"
                                "});"
                                "frames.forEach(frame => frame.remove()); return seen.join('\\u0001');";

std::vector<std::string> Split(const std::string& joined)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t end; (end = joined.find('\x01', start)) != std::string::npos; start = end + 1) {
        parts.push_back(joined.substr(start, end - start));
    }
    parts.push_back(joined.substr(start));
    return parts;
}

class FileAccessSpellingsTest : public test::BookWindowTest {
protected:
    // What each of the addresses (the first `own` of them inside the book) gave the script.
    std::vector<std::string> Read(std::string script, const std::vector<std::string>& addresses, std::size_t own)
    {
        std::string array = "[";
        for (const std::string& address : addresses) {
            array += "'" + address + "',";
        }
        array += "]";
        for (std::size_t at; (at = script.find("ADDRESSES")) != std::string::npos;) {
            script.replace(at, 9, array);
        }
        if (const std::size_t at = script.find("OWN"); at != std::string::npos) {
            script.replace(at, 3, std::to_string(own));
        }
        return Split(Script(script));
    }
    // The text of the document the main frame shows after going to `address`; then home again.
    std::string ReadByNavigating(const std::string& address)
    {
        std::size_t before = loaded.size();
        Script("location.href = '" + address + "'; return ''");
        RunUntil([&] { return loaded.size() > before; }, std::chrono::seconds(10));
        std::string text = Script("return document.body ? document.body.innerText : ''");
        before = loaded.size();
        window->Web().Navigate(Folder() + "pages/index.html");
        EXPECT_TRUE(RunUntil([&] { return loaded.size() > before; }));
        return text;
    }
};

TEST_F(FileAccessSpellingsTest, EverySpellingOfAPathOutOfTheBookIsRefusedAndTheBooksFilesAreRead)
{
    const std::string secret_svg = "<svg xmlns='http://www.w3.org/2000/svg' width='37' height='37'></svg>";
    const std::string own_svg = "<svg xmlns='http://www.w3.org/2000/svg' width='7' height='5'></svg>";
    book_folder = "book";
    book = std::make_unique<test::EBookFixture>(settings, book_folder);
    for (const auto& [name, content] :
         std::vector<std::pair<std::string, std::string>>{{"index.html", Page("Home", "home")},
                                                          {"data.txt", "OWN-TEXT"},
                                                          {"dot.svg", own_svg},
                                                          {"sub/page.html", "OWN-SUB"},
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
    std::filesystem::create_symlink(beside / "secret.txt", pages / "out ^.txt");
    std::filesystem::create_symlink(beside / "secret.svg", pages / "out ^.svg");
    window = Tform_apresentacao::Create();
    loaded_watch =
        window->Web().signal_document_complete.Connect([this](const std::string& url) { loaded.push_back(url); });
    AtEventBoundary([&] { window->FormCreate(book->ProgramPath()); });
    ASSERT_TRUE(reports.empty()) << FirstReport();
    gtk_widget_show(window->Widget());
    ASSERT_TRUE(RunUntil([&] { return !loaded.empty(); }));

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
        "out ^.NAMEEND",
        "out%20%5e.NAMEEND",
        "o%75t ^.NAMEEND",
        "..%2f..%2f",
        "..%2f..%2f?listing",
        "leak/",
        "file://" + beside.string() + "/NAME",
    };
    const auto with = [](const std::string& spelling, const std::string& ending) {
        std::string address = spelling;
        if (const auto at = address.find("NAMEEND"); at != std::string::npos) {
            address.replace(at, 7, ending);
        } else if (const auto at_name = address.find("NAME"); at_name != std::string::npos) {
            address.replace(at_name, 4, "secret." + ending);
        }
        return address;
    };

    // the book's own file, as a document and as a picture -> what every way reads
    const std::vector<std::tuple<std::string, std::string, std::string>> own = {
        {"data.txt", "dot.svg", "OWN-TEXT"},
        {"./sub/page.html", "sub//dot.svg", "OWN-SUB"},
        {"sub/../data.txt", "./sub/../dot.svg", "OWN-TEXT"},
        {"data.txt?q=a%2fb%2e", "dot.svg#a%2F", "OWN-TEXT"},
        {"a b é.txt", "a b é.svg", "OWN-NAMED"},
        {"a%20b%20%C3%A9.txt", "a%20b%20%c3%a9.svg", "OWN-NAMED"},
    };
    std::vector<std::string> texts;
    std::vector<std::string> images;
    for (const auto& [text, image, content] : own) {
        texts.push_back(text);
        images.push_back(image);
    }
    for (const std::string& spelling : outside) {
        texts.push_back(with(spelling, "txt"));
        images.push_back(with(spelling, "svg"));
    }
    const std::pair<std::string, std::vector<std::string>> ways[] = {
        {"fetch", Read(ReadByFetch, texts, own.size())},
        {"synchronous request", Read(ReadBySyncRequest, texts, own.size())},
        {"frame", Read(ReadByFrame, texts, own.size())},
        {"image", Read(ReadByImage, images, own.size())},
    };
    for (const auto& [way, seen] : ways) {
        ASSERT_EQ(seen.size(), texts.size()) << way;
        for (std::size_t i = 0; i < own.size(); ++i) {
            EXPECT_EQ(seen[i], way == "image" ? "image 7x5" : std::get<2>(own[i])) << texts[i] << " by " << way;
        }
        for (std::size_t i = own.size(); i < texts.size(); ++i) {
            EXPECT_EQ(seen[i].find("TOP-SECRET"), std::string::npos) << texts[i] << " by " << way;
            EXPECT_EQ(seen[i].find("zz-listed-name"), std::string::npos) << texts[i] << " by " << way;
            EXPECT_NE(seen[i], "image 37x37") << images[i] << " by " << way;
        }
    }
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const std::string seen = ReadByNavigating(texts[i]);
        if (i < own.size()) {
            EXPECT_EQ(seen, std::get<2>(own[i])) << texts[i] << " by navigation";
        } else {
            EXPECT_EQ(seen.find("TOP-SECRET"), std::string::npos) << texts[i] << " by navigation";
            EXPECT_EQ(seen.find("zz-listed-name"), std::string::npos) << texts[i] << " by navigation";
        }
    }
    EXPECT_TRUE(reports.empty()) << FirstReport();
}

}  // namespace
}  // namespace quillora
