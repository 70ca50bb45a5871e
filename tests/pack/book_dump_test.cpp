#include "book_dump.hpp"

#include <gtest/gtest.h>

#include "book_plan.hpp"
#include "common/error.hpp"
#include "pack_test_support.hpp"
#include "payload/payload_writer.hpp"
#include "payload/setting_index.hpp"

namespace quillora::pack {
namespace {

using testing::TempDir;
namespace fs = std::filesystem;
using testing::WriteFile;

// Payload lines as another writer might have left them: every line filled, some oddly.
SettingsList ForeignLines()
{
    SettingsList lines;
    for (int index = 0; index < SettingCount; ++index) {
        lines.Append("");
    }
    lines.Set(setting::title, "  Ålesund – 北の地図 ");
    lines.Set(setting::home_page, "D:\\Books\\Atlas\\index.htm");
    lines.Set(setting::home_button_alt_page, "");
    lines.Set(setting::about_description, "\"Quoted\" start<!>second line");
    lines.Set(setting::reserved_19, "kept though unused");
    lines.Set(setting::reserved_79, " ");
    lines.Set(setting::startup_action, "MESSAGE \"a\"==\"b\"");
    lines.Append("[GERAL]");
    lines.Append("");
    lines.Append("  MENU_0 = Bok  ");
    lines.Append("");
    return lines;
}

TEST(BookDump, PrintsEverySettingAndTheMenuInSourceForm)
{
    const std::string text = DumpSource(ForeignLines());
    EXPECT_TRUE(text.starts_with("# E-book settings, as quillora-pack --dump writes them.\n"
                                 "title = \"  Ålesund – 北の地図 \"\n"
                                 "gradient_caption_on = \"\"\n"));
    EXPECT_NE(text.find("\nhome_page = D:\\Books\\Atlas\\index.htm\n"), std::string::npos);
    EXPECT_NE(text.find("\nabout_description = \"\"Quoted\" start<!>second line\"\n"), std::string::npos);
    EXPECT_NE(text.find("\nreserved_19 = kept though unused\n"), std::string::npos);
    EXPECT_NE(text.find("\nreserved_79 = \" \"\n"), std::string::npos);
    EXPECT_EQ(text.find("reserved_47"), std::string::npos);  // empty unused lines are left out
    EXPECT_TRUE(text.ends_with("\nskin_index = \"\"\n[[menu]]\n[GERAL]\n\n  MENU_0 = Bok  \n\n"));
}

TEST(BookDump, ReadingTheDumpBackGivesTheSameLines)
{
    TempDir dir;
    WriteFile(dir / "Atlas" / "index.htm", "home");
    const auto lines = ForeignLines();
    const auto book = CheckBookText(DumpSource(lines), "dump", dir.Path());
    // The values are wrong for their kinds (the empty flags), but every line survives as written.
    std::vector<std::string> all = book.plan.settings;
    all.insert(all.end(), book.plan.menu.begin(), book.plan.menu.end());
    EXPECT_EQ(all, lines.Lines());
}

TEST(BookDump, PagePathsOfThisToolReadAsSourcePaths)
{
    SettingsList lines;
    for (int index = 0; index < SettingCount; ++index) {
        lines.Append(index == setting::home_page ? "C:\\Quillora\\sidor\\start.html" : "0");
    }
    const std::string text = DumpSource(lines);
    EXPECT_NE(text.find("\nhome_page = sidor/start.html\n"), std::string::npos);
    EXPECT_EQ(text.find("[[menu]]"), std::string::npos);
}

TEST(BookDump, ReadsTheLinesOfAnEbookFile)
{
    TempDir dir;
    WriteFile(dir / "book", AppendPayload("PROGRAM", "Title\r\nx\r\n"));
    WriteFile(dir / "plain", "PROGRAM");
    EXPECT_EQ(ReadBookLines(dir / "book").Lines(), (std::vector<std::string>{"Title", "x"}));
    try {
        ReadBookLines(dir / "plain");
        ADD_FAILURE();
    } catch (const quillora::Error& failure) {
        EXPECT_EQ(failure.what(), (dir / "plain").string() + " carries no e-book settings");
    }
    try {
        ReadBookLines(dir / "missing");
        ADD_FAILURE();
    } catch (const quillora::Error& failure) {
        EXPECT_EQ(failure.what(), (dir / "missing").string() + ": File not found");
    }
}

}  // namespace
}  // namespace quillora::pack
