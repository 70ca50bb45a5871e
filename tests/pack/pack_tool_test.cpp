// The quillora-pack executable, run the way an author runs it.
#include <gtest/gtest.h>

#include "pack_test_support.hpp"
#include "payload/payload.hpp"
#include "payload/payload_writer.hpp"
#include "payload/setting_index.hpp"
#include "payload/settings_list.hpp"

namespace quillora::pack {
namespace {

using testing::Listing;
using testing::MakeBookFolder;
using testing::ReadFile;
using testing::RunPack;
using testing::RunResult;
using testing::TempDir;
using testing::WriteFile;
using Names = std::vector<std::string>;
namespace fs = std::filesystem;

const std::string FakeRuntime = std::string("\x7F"
                                            "ELF not really a program\0\x01\x02\0",
                                            29);

class PackTool : public ::testing::Test {
protected:
    PackTool()
    {
        fs::create_directories(scratch_);
        WriteFile(runtime_, FakeRuntime);
    }

    RunResult Run(const std::vector<std::string>& arguments) { return RunPack(arguments, scratch_); }
    RunResult Pack(const fs::path& source, const fs::path& output, std::vector<std::string> extra = {})
    {
        std::vector<std::string> arguments = {"--runtime", runtime_.string()};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        arguments.push_back(source.string());
        arguments.push_back(output.string());
        return Run(arguments);
    }

    static SettingsList PayloadLines(const fs::path& ebook)
    {
        return SettingsList::FromPayloadBytes(TPayload(ebook.string()).ReadText());
    }

    TempDir dir_;
    fs::path scratch_ = dir_ / "scratch";
    fs::path runtime_ = dir_ / "scratch" / "quillora";
};

TEST_F(PackTool, HelpVersionAndUsageErrors)
{
    const auto help = Run({"--help"});
    EXPECT_EQ(help.exit_code, 0);
    EXPECT_TRUE(help.out.starts_with("Usage: quillora-pack [OPTION]... SOURCE OUTPUT\n"));
    EXPECT_EQ(help.err, "");

    const auto version = Run({"--version"});
    EXPECT_EQ(version.exit_code, 0);
    EXPECT_TRUE(version.out.starts_with("quillora-pack (Quillora) ")) << version.out;

    const auto usage = Run({});
    EXPECT_EQ(usage.exit_code, 2);
    EXPECT_EQ(usage.out, "");
    EXPECT_EQ(usage.err, "quillora-pack: error: missing SOURCE and OUTPUT\n"
                         "Try 'quillora-pack --help' for more information.\n");

    EXPECT_EQ(Run({"--bogus", "a", "b"}).exit_code, 2);
}

TEST_F(PackTool, WritesAnEbookWhosePayloadHas103LinesThenTheMenu)
{
    MakeBookFolder(dir_ / "book", "title = Atlas\n");
    const auto plain = Pack(dir_ / "book", dir_ / "out" / "atlas");
    EXPECT_EQ(plain.exit_code, 0) << plain.err;
    EXPECT_EQ(plain.out + plain.err, "");
    const auto lines = PayloadLines(dir_ / "out" / "atlas");
    EXPECT_EQ(lines.Count(), SettingCount);
    EXPECT_EQ(lines.Get(setting::title), "Atlas");
    EXPECT_EQ(lines.Get(setting::home_page), "C:\\Quillora\\pages\\index.html");
    EXPECT_EQ(Listing(dir_ / "out"), (Names{"atlas", "atlas.desktop", "atlas.svg", "pages"}));
    EXPECT_TRUE(ReadFile(dir_ / "out" / "atlas").starts_with(FakeRuntime));

    MakeBookFolder(dir_ / "menu-book", "title = M\n[[menu]]\n[GERAL]\nMENU_0=&Book\n[MENU]\nITENS_0=Home\n"
                                       "[ACOES]\nMENUx0_0=WEBHOME()\n");
    const auto with_menu = Pack(dir_ / "menu-book" / "book.conf", dir_ / "out2/");
    EXPECT_EQ(with_menu.exit_code, 0) << with_menu.err;
    const auto menu_lines = PayloadLines(dir_ / "out2" / "menu-book");
    ASSERT_EQ(menu_lines.Count(), SettingCount + 6);
    EXPECT_EQ(menu_lines.Get(setting::custom_menu_on), "-1");
    EXPECT_EQ(menu_lines.Get(SettingCount), "[GERAL]");
    EXPECT_EQ(menu_lines.Get(SettingCount + 5), "MENUx0_0=WEBHOME()");
}

TEST_F(PackTool, CheckReportsEveryProblemAtOnceAndPackingWritesNothing)
{
    const auto conf = MakeBookFolder(dir_ / "book", "title = Atlas\n"
                                                    "toolbar_visible = yes\n"
                                                    "window_width = wide\n"
                                                    "titel = x\n"
                                                    "home_page = pages/missing.html\n"
                                                    "animation_on = -1\n"
                                                    "animation_kind = 99\n"
                                                    "[[menu]]\n"
                                                    "[GERAL]\n"
                                                    "MENU_1=Help\n");
    const std::string c = conf.string();
    const std::string expected =
        c + ":2: setting toolbar_visible: 'yes' is not a valid boolean value (write -1 for on or 0 for off)\n" + c +
        ":3: setting window_width: 'wide' is not a valid integer value (write a whole number)\n" + c +
        ":4: setting titel: no such setting (did you mean title?)\n" + c +
        ":5: setting home_page: page not found: " + (dir_ / "book" / "pages" / "missing.html").string() + "\n" + c +
        ":7: warning: setting animation_kind: no animation runs; the animations are numbered 0 to 13\n" + c +
        ":9: menu: [GERAL] has no MENU_0 (menus are numbered from MENU_0 without gaps)\n" + c +
        ":10: menu: MENU_1 is never read: with 1 keys in [GERAL] the menus are MENU_0 to MENU_0\n";

    const auto check = Run({"--check", conf.string()});
    EXPECT_EQ(check.exit_code, 1);
    EXPECT_EQ(check.out, "");
    EXPECT_EQ(check.err, expected);

    const auto pack = Pack(conf, dir_ / "out" / "atlas");
    EXPECT_EQ(pack.exit_code, 1);
    EXPECT_EQ(pack.err, expected + "quillora-pack: error: " + c + " has 6 problems; no e-book written\n");
    EXPECT_FALSE(fs::exists(dir_ / "out"));
}

TEST_F(PackTool, WarningsAloneDoNotStopTheBook)
{
    const auto conf = MakeBookFolder(dir_ / "book", "border_style = 9\n");
    const auto check = Run({"--check", (dir_ / "book").string()});
    EXPECT_EQ(check.exit_code, 0);
    EXPECT_EQ(check.err, conf.string() + ":1: warning: setting border_style: '9' keeps the default frame; "
                                         "write 0 (fixed), 1 (none) or 2 (sizeable)\n");
    EXPECT_EQ(Pack(dir_ / "book", dir_ / "out" / "b").exit_code, 0);
}

TEST_F(PackTool, AMissingSourceOrRuntimeIsReportedPlainly)
{
    const auto missing = Run({"--check", (dir_ / "nothing").string()});
    EXPECT_EQ(missing.exit_code, 1);
    EXPECT_EQ(missing.err, (dir_ / "nothing").string() + ": cannot read the book source: No such file or directory\n");

    MakeBookFolder(dir_ / "book", "");
    const auto no_runtime =
        Run({"--runtime", (dir_ / "none").string(), (dir_ / "book").string(), (dir_ / "o").string()});
    EXPECT_EQ(no_runtime.exit_code, 1);
    EXPECT_EQ(no_runtime.err, "quillora-pack: error: the runtime " + (dir_ / "none").string() + " does not exist\n");
    EXPECT_FALSE(fs::exists(dir_ / "o"));
}

TEST_F(PackTool, ExistingFilesAreReplacedOnlyWithForce)
{
    MakeBookFolder(dir_ / "book", "title = One\n");
    ASSERT_EQ(Pack(dir_ / "book", dir_ / "out" / "b").exit_code, 0);
    WriteFile(dir_ / "book" / "book.conf", "title = Two\n");
    const auto again = Pack(dir_ / "book", dir_ / "out" / "b");
    EXPECT_EQ(again.exit_code, 1);
    EXPECT_EQ(again.err, "quillora-pack: error: " + (dir_ / "out" / "b").string() +
                             " already exists (use --force to replace it)\n");
    EXPECT_EQ(PayloadLines(dir_ / "out" / "b").Get(setting::title), "One");
    EXPECT_EQ(Pack(dir_ / "book", dir_ / "out" / "b", {"--force"}).exit_code, 0);
    EXPECT_EQ(PayloadLines(dir_ / "out" / "b").Get(setting::title), "Two");
}

TEST_F(PackTool, AnEbookAsRuntimeGivesUpItsOwnPayload)
{
    MakeBookFolder(dir_ / "book", "title = First\n");
    ASSERT_EQ(Pack(dir_ / "book", dir_ / "out" / "first").exit_code, 0);
    WriteFile(dir_ / "book" / "book.conf", "title = Second\n");
    const auto second = Run({"--runtime", (dir_ / "out" / "first").string(), (dir_ / "book").string(),
                             (dir_ / "out2" / "second").string()});
    ASSERT_EQ(second.exit_code, 0) << second.err;
    const std::string bytes = ReadFile(dir_ / "out2" / "second");
    const std::string text = TPayload((dir_ / "out2" / "second").string()).ReadText();
    EXPECT_EQ(bytes, AppendPayload(FakeRuntime, text));
    EXPECT_EQ(PayloadLines(dir_ / "out2" / "second").Get(setting::title), "Second");
}

// dump -> pack -> dump gives the same text, non-ASCII and unused lines included.
TEST_F(PackTool, DumpPackDumpRoundTrip)
{
    const fs::path atlas = fs::path(QUILLORA_SOURCE_DIR) / "examples" / "atlas";
    fs::copy(atlas, dir_ / "atlas", fs::copy_options::recursive);
    std::string conf = ReadFile(dir_ / "atlas" / "book.conf");
    const auto description = conf.find("about_description = ");
    ASSERT_NE(description, std::string::npos);
    conf.replace(description, conf.find('\n', description) - description,
                 "about_description = Fjorde – Nordlicht – 北<!>zweite Zeile");
    conf.insert(0, "reserved_19 = kept\nreserved_60 = \"  \"\n");
    WriteFile(dir_ / "atlas" / "book.conf", conf);

    ASSERT_EQ(Pack(dir_ / "atlas", dir_ / "out1" / "atlas").exit_code, 0);
    const auto first = Run({"--dump", (dir_ / "out1" / "atlas").string()});
    ASSERT_EQ(first.exit_code, 0) << first.err;
    EXPECT_EQ(first.err, "");
    EXPECT_NE(first.out.find("\nreserved_19 = kept\n"), std::string::npos);
    EXPECT_NE(first.out.find("\nreserved_60 = \"  \"\n"), std::string::npos);
    EXPECT_NE(first.out.find("\nabout_description = Fjorde – Nordlicht – 北<!>zweite Zeile\n"), std::string::npos);
    EXPECT_NE(first.out.find("\nabout_copyright = © 2026 The Quillora authors\n"), std::string::npos);
    EXPECT_NE(first.out.find("\n[[menu]]\n[GERAL]\nMENU_0=&Book\n"), std::string::npos);

    // The dump, saved beside the e-book, is a book source of its own.
    WriteFile(dir_ / "out1" / "book.conf", first.out);
    ASSERT_EQ(Pack(dir_ / "out1", dir_ / "out2" / "atlas").exit_code, 0);
    const auto second = Run({"--dump", (dir_ / "out2" / "atlas").string()});
    EXPECT_EQ(second.out, first.out);
    EXPECT_EQ(TPayload((dir_ / "out2" / "atlas").string()).ReadText(),
              TPayload((dir_ / "out1" / "atlas").string()).ReadText());
}

TEST_F(PackTool, DumpOfAForeignEbookKeepsItsPathsAndWarnsOfMissingLines)
{
    // Another writer's e-book: Windows-1252 text, its own page paths, only a few lines.
    WriteFile(dir_ / "old", AppendPayload(FakeRuntime, "Caf\xE9 du Nord\r\n0\r\n"));
    const auto dump = Run({"--dump", (dir_ / "old").string()});
    EXPECT_EQ(dump.exit_code, 0);
    EXPECT_EQ(dump.out, "# E-book settings, as quillora-pack --dump writes them.\n"
                        "title = Café du Nord\n"
                        "gradient_caption_on = 0\n");
    EXPECT_EQ(dump.err, "quillora-pack: warning: " + (dir_ / "old").string() + " holds only 2 of the 103 settings\n");

    const auto none = Run({"--dump", runtime_.string()});
    EXPECT_EQ(none.exit_code, 1);
    EXPECT_EQ(none.err, "quillora-pack: error: " + runtime_.string() + " carries no e-book settings\n");
}

TEST_F(PackTool, Windows1252TextsWhenAsked)
{
    MakeBookFolder(dir_ / "book", "title = Café – Nord\n");
    ASSERT_EQ(Pack(dir_ / "book", dir_ / "out" / "b", {"--encoding=windows-1252"}).exit_code, 0);
    const std::string text = TPayload((dir_ / "out" / "b").string()).ReadText();
    EXPECT_TRUE(text.starts_with("Caf\xE9 \x96 Nord\r\n"));
    EXPECT_EQ(PayloadLines(dir_ / "out" / "b").Get(setting::title), "Café – Nord");

    const auto conf = MakeBookFolder(dir_ / "book2", "title = 北\nabout_title = About\nabout_app_name = A\n");
    const auto refused = Pack(dir_ / "book2", dir_ / "out2" / "b", {"-e", "windows-1252"});
    EXPECT_EQ(refused.exit_code, 1);
    EXPECT_EQ(refused.err, conf.string() +
                               ":1: setting title: character U+5317 cannot be written in windows-1252\n"
                               "quillora-pack: error: " +
                               conf.string() + " has 1 problem; no e-book written\n");
    EXPECT_FALSE(fs::exists(dir_ / "out2"));
}

TEST_F(PackTool, WithoutRuntimeOptionTheToolCopiesTheRuntimeOfItsOwnInstallation)
{
    // A copy of the tool in a prefix of its own, as installed:
    // no runtime -> the error names lib/quillora/quillora of that prefix;
    // lib/quillora/quillora only -> the e-book is built on it;
    // a runtime beside the tool as well (a build folder) -> the one beside it wins.
    MakeBookFolder(dir_ / "book", "");
    const fs::path prefix = dir_ / "moved prefix";
    const fs::path tool = prefix / "bin" / "quillora-pack";
    const fs::path installed = prefix / "lib" / "quillora" / "quillora";
    fs::create_directories(tool.parent_path());
    fs::copy_file(QUILLORA_PACK_EXE, tool);
    const auto pack = [&] {
        return RunPack({"--force", (dir_ / "book").string(), (dir_ / "out" / "b").string()}, scratch_, {}, tool);
    };

    EXPECT_EQ(pack().err, "quillora-pack: error: the runtime " + installed.string() + " does not exist\n");

    WriteFile(installed, FakeRuntime + "installed");
    ASSERT_EQ(pack().exit_code, 0);
    EXPECT_TRUE(ReadFile(dir_ / "out" / "b").starts_with(FakeRuntime + "installed"));

    WriteFile(prefix / "bin" / "quillora", FakeRuntime + "beside");
    ASSERT_EQ(pack().exit_code, 0);
    EXPECT_TRUE(ReadFile(dir_ / "out" / "b").starts_with(FakeRuntime + "beside"));
}

}  // namespace
}  // namespace quillora::pack
