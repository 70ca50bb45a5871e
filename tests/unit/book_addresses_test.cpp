#include "book/book_addresses.hpp"

#include <glib.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/temp_files.hpp"

namespace quillora {
namespace {

// The path part of a file: address with its escapes decoded: what the engine reads it as.
bool EngineCanRead(const std::string& address)
{
    gchar* decoded = g_uri_unescape_string(address.c_str(), nullptr);
    const bool utf8 = decoded != nullptr && g_utf8_validate(decoded, -1, nullptr);
    g_free(decoded);
    return utf8;
}

TEST(BookAddresses, EveryPathHasAnAddressTheEngineReadsAndThatLeadsBack)
{
    const test::TempDir books;
    struct Case {
        std::string book_folder;  // a folder name inside `books`
        std::string page;         // the page's path inside the book
        std::string address_end;  // how the address ends
    };
    const Case cases[] = {
        // path -> escaped address -> the same path
        {"a b", "pages/p q.html", "a%20b/pages/p%20q.html"},
        {"x#1", "pages/#.html", "x%231/pages/%23.html"},
        {"100%", "pages/%41.html", "100%25/pages/%2541.html"},
        {"why?", "pages/?.html", "why%3F/pages/%3F.html"},
        {"café", "pages/olá.html", "caf%C3%A9/pages/ol%C3%A1.html"},
        // a Latin-1 folder name, which the engine cannot show -> a link with a plain name
        {"caf\xE9", "pages/index.html", "/book/pages/index.html"},
    };
    for (const Case& c : cases) {
        const std::string folder = books.File(c.book_folder) + "/";
        const std::string page = folder + c.page;
        test::WriteFile(page, "page of " + c.book_folder);
        const BookAddresses addresses = BookAddresses::ForFolder(folder);
        const std::string address = addresses.AddressOf(page);
        EXPECT_TRUE(address.starts_with("file:///")) << address;
        EXPECT_TRUE(address.ends_with(c.address_end)) << address;
        EXPECT_TRUE(EngineCanRead(address)) << address;
        EXPECT_EQ(addresses.PathOf(address), page) << address;
        // The address leads to the page itself, through the link where there is one.
        gchar* engine_path = g_filename_from_uri(address.c_str(), nullptr, nullptr);
        ASSERT_NE(engine_path, nullptr) << address;
        EXPECT_EQ(test::ReadFile(engine_path), "page of " + c.book_folder);
        g_free(engine_path);
    }
}

TEST(BookAddresses, TheLinkGoesWithTheBookAndOtherAddressesStayAsTheyAre)
{
    const test::TempDir books;
    const std::string folder = books.File("caf\xE9") + "/";
    std::filesystem::create_directory(folder);
    std::string link_path;
    {
        const BookAddresses addresses = BookAddresses::ForFolder(folder);
        // a path outside the book -> its own address; other schemes -> no path
        EXPECT_EQ(addresses.AddressOf("/usr/share/a b"), "file:///usr/share/a%20b");
        EXPECT_EQ(addresses.PathOf("http://example.com/index.html"), "");
        gchar* path = g_filename_from_uri(addresses.AddressOf(folder).c_str(), nullptr, nullptr);
        link_path = path;
        g_free(path);
        EXPECT_TRUE(std::filesystem::is_symlink(std::filesystem::path(link_path).parent_path()));
    }
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(link_path).parent_path().parent_path()))
        << "the link's folder is removed with the book's addresses";
    EXPECT_TRUE(std::filesystem::exists(folder)) << "the book itself stays";
}

}  // namespace
}  // namespace quillora
