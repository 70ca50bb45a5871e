// The Debian package of a book: Debian's rules for its fields, where each field is taken from,
// the texts of its files, and the package quillora-pack --deb writes.
#include <gtest/gtest.h>

#include "book_plan.hpp"
#include "pack_test_support.hpp"
#include "package_files.hpp"
#include "package_metadata.hpp"
#include "program_run.hpp"
#include "runtime_package_facts.hpp"
#include "runtime_symbols.hpp"

namespace quillora::pack {
namespace {

using testing::MakeBookFolder;
using testing::RunPack;
using testing::TempDir;
using testing::WriteFile;
namespace fs = std::filesystem;

std::string Problem(const std::optional<std::string>& problem)
{
    return problem.value_or("");
}

TEST(PackageRules, NamesVersionsMaintainersAndSummaries)
{
    struct Case {
        std::optional<std::string> (*rule)(std::string_view);
        std::string value;
        std::string problem;  // empty: valid
    };
    const std::string long_summary(81, 's');
    // rule, value -> what is wrong
    const Case cases[] = {
        {PackageNameProblem, "atlas", ""},
        {PackageNameProblem, "c++-primer.2", ""},
        {PackageNameProblem, "0ad", ""},
        {PackageNameProblem, "", "is empty"},
        {PackageNameProblem, "a", "needs at least two characters"},
        {PackageNameProblem, "-atlas", "must start with a letter or a digit"},
        {PackageNameProblem, "+x", "must start with a letter or a digit"},
        {PackageNameProblem, "My Atlas", "may hold only lower-case letters, digits, '+', '-' and '.', not 'M'"},
        {PackageNameProblem, "my_atlas", "may hold only lower-case letters, digits, '+', '-' and '.', not '_'"},
        {PackageNameProblem, "atlas\xC3\xA9",
         "may hold only lower-case letters, digits, '+', '-' and '.', not a non-ASCII character"},
        {PackageVersionProblem, "1.0", ""},
        {PackageVersionProblem, "2.0~rc1+git20260101", ""},
        {PackageVersionProblem, "1a", ""},
        {PackageVersionProblem, "", "is empty"},
        {PackageVersionProblem, "Edition 1.0", "must start with a digit"},
        {PackageVersionProblem, "v1", "must start with a digit"},
        {PackageVersionProblem, "1.0-1", "may hold only letters, digits, '.', '+' and '~', not '-'"},
        {PackageVersionProblem, "1:2.0", "may hold only letters, digits, '.', '+' and '~', not ':'"},
        {PackageVersionProblem, "1 0", "may hold only letters, digits, '.', '+' and '~', not ' '"},
        {MaintainerProblem, "Ana Lima <ana@example.org>", ""},
        {MaintainerProblem, "J\xC3\xBCrgen <j@x.de>", ""},
        {MaintainerProblem, "", "is empty"},
        {MaintainerProblem, "ana@example.org", "must be written 'Name <address>'"},
        {MaintainerProblem, "<ana@example.org>", "needs a name before the address"},
        {MaintainerProblem, "Lima, Ana <ana@example.org>", "may not hold '<', '>' or ',' in its name"},
        {MaintainerProblem, "Ana <ana>", "has no valid address between '<' and '>' ('ana')"},
        {MaintainerProblem, "Ana <a@b@c>", "has no valid address between '<' and '>' ('a@b@c')"},
        {MaintainerProblem, "Ana <a b@c>", "has no valid address between '<' and '>' ('a b@c')"},
        {MaintainerProblem, "Ana\t<a@b>", "may not hold control character 9"},
        {SummaryProblem, "Maps of the north", ""},
        {SummaryProblem, std::string(80, 's'), ""},
        {SummaryProblem, std::string(40, 's') + "\xC3\xA9" + std::string(39, 's'), ""},  // characters, not bytes
        {SummaryProblem, " ", "is empty"},
        {SummaryProblem, long_summary, "has 81 characters; at most 80 fit on one line"},
        {SummaryProblem, "a\x01", "may not hold control character 1"},
        {SummaryProblem, "\xFF", "is not valid UTF-8 text"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Problem(c.rule(c.value)), c.problem) << c.value;
    }
}

TEST(PackageRules, Suggestions)
{
    struct Case {
        std::string text;
        std::string name;
        std::string version;
    };
    // text -> suggested name, suggested version (empty: none can be made)
    const Case cases[] = {
        {"My Atlas", "my-atlas", ""},
        {"Atlas of the North", "atlas-of-the-north", ""},
        {"  C++ -- Primer!  ", "c++-primer", ""},
        {"_Atlas_", "atlas", ""},
        {"+.x9", "x9", "9"},
        {"Edition 1.0", "edition-1.0", "1.0"},
        {"Version 2.1.", "version-2.1.", "2.1"},
        {"v3-beta", "v3-beta", "3"},
        {"release 1.0~rc1, 2026", "release-1.0-rc1-2026", "1.0~rc1"},
        {"\xC3\x89t\xC3\xA9", "t", ""},
        {"", "", ""},
        {"!", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SuggestPackageName(c.text), c.name == "t" ? "" : c.name) << c.text;
        EXPECT_EQ(SuggestPackageVersion(c.text), c.version) << c.text;
    }
}

class PackageFields : public ::testing::Test {
protected:
    PackageFields() { WriteFile(dir_ / "pages" / "index.html", "<p>home</p>"); }

    // The metadata of a source, and its problems as --check --deb prints them.
    std::pair<PackageMetadata, std::string> Resolve(const std::string& text, const PackageOverrides& options = {})
    {
        const auto book = CheckBookText(text, "book.conf", dir_.Path());
        EXPECT_EQ(book.diagnostics.FormatAll(), "") << text;
        Diagnostics diagnostics;
        auto metadata = ResolvePackageMetadata(book, options, diagnostics);
        return {std::move(metadata), diagnostics.FormatAll()};
    }

    TempDir dir_;
};

TEST_F(PackageFields, TakenFromTheOptionsTheSourcesFieldsOrTheSettings)
{
    const std::string settings = "title = atlas\n"
                                 "about_version = 1.0\n"
                                 "about_email = atlas@example.org\n"
                                 "about_description = Maps of the north.<!>Three chapters.<!>\n"
                                 "about_web_address = https://atlas.example.org/\n"
                                 "about_copyright = \xC2\xA9 2026 Ana Lima\n";
    const auto [derived, none] = Resolve(settings);
    EXPECT_EQ(none, "");
    EXPECT_EQ(derived.name, "atlas");
    EXPECT_EQ(derived.version, "1.0");
    EXPECT_EQ(derived.maintainer, "atlas <atlas@example.org>");
    EXPECT_EQ(derived.summary, "Maps of the north");  // no full stop
    EXPECT_EQ(derived.description, (std::vector<std::string>{"Maps of the north.", "Three chapters."}));
    EXPECT_EQ(derived.web_address, "https://atlas.example.org/");
    EXPECT_EQ(derived.copyright, "\xC2\xA9 2026 Ana Lima");

    const std::string fields = settings + "package_name = atlas-book\n"
                                          "package_version = 2.0\n"
                                          "package_maintainer = Ana Lima <ana@example.org>\n"
                                          "package_summary = An atlas\n";
    const auto [set, no_problem] = Resolve(fields);
    EXPECT_EQ(no_problem, "");
    EXPECT_EQ(set.name, "atlas-book");
    EXPECT_EQ(set.version, "2.0");
    EXPECT_EQ(set.maintainer, "Ana Lima <ana@example.org>");
    EXPECT_EQ(set.summary, "An atlas");

    const auto [overridden, fine] = Resolve(fields, {"atlas-2", "3.0", "B <b@c.org>", "Atlas"});
    EXPECT_EQ(fine, "");
    EXPECT_EQ(overridden.name, "atlas-2");
    EXPECT_EQ(overridden.version, "3.0");
    EXPECT_EQ(overridden.maintainer, "B <b@c.org>");
    EXPECT_EQ(overridden.summary, "Atlas");
}

TEST_F(PackageFields, EveryProblemAtTheLineThatGaveTheValue)
{
    struct Case {
        std::string source;
        PackageOverrides options;
        std::string problems;
    };
    const std::string good = "about_version = 1.0\nabout_email = a@b.org\nabout_description = Maps\n";
    // source, options -> what --check --deb reports
    const Case cases[] = {
        {"title = My Atlas\n" + good,
         {},
         "book.conf:1: setting title: the package name 'My Atlas', taken from title, may hold only "
         "lower-case letters, digits, '+', '-' and '.', not 'M'; set package_name = my-atlas\n"},
        {good,
         {},
         "book.conf: setting title: the package name 'Untitled e-book', taken from the default title, "
         "may hold only lower-case letters, digits, '+', '-' and '.', not 'U'; set package_name = untitled-e-book\n"},
        {"title = x\n" + good + "package_name = My_Atlas\n",
         {},
         "book.conf:5: setting package_name: the package name 'My_Atlas' may hold only lower-case "
         "letters, digits, '+', '-' and '.', not 'M' (did you mean my-atlas?)\n"},
        {"title = atlas\n" + good,
         {"Atlas", std::nullopt, std::nullopt, std::nullopt},
         "book.conf: option --package-name: the package name 'Atlas' may hold only lower-case "
         "letters, digits, '+', '-' and '.', not 'A' (did you mean atlas?)\n"},
        {"title = atlas\nabout_version = Edition 1.0\nabout_email = a@b.org\nabout_description = Maps\n",
         {},
         "book.conf:2: setting about_version: the package version 'Edition 1.0', taken from "
         "about_version, must start with a digit; set package_version = 1.0\n"},
        {"title = atlas\nabout_email = a@b.org\nabout_description = Maps\n",
         {},
         "book.conf: setting about_version: the package needs a version: set package_version (such as 1.0) "
         "or about_version\n"},
        {"title = atlas\nabout_version = 1\nabout_description = Maps\n",
         {},
         "book.conf: setting about_email: the package needs a maintainer: set package_maintainer = "
         "Name <address> or about_email\n"},
        {"title = atlas\nabout_version = 1\nabout_email = a@b.org\n",
         {},
         "book.conf: setting about_description: the package needs a summary: set package_summary "
         "or about_description\n"},
        {"title = atlas\n" + good + "package_maintainer = Ana\npackage_summary = \" \"\npackage_version = v2\n",
         {},
         "book.conf:5: setting package_maintainer: the package maintainer 'Ana' must be written 'Name <address>'\n"
         "book.conf:6: setting package_summary: the package summary ' ' is empty\n"
         "book.conf:7: setting package_version: the package version 'v2' must start with a digit "
         "(did you mean 2?)\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Resolve(c.source, c.options).second, c.problems) << c.source;
    }
}

TEST_F(PackageFields, PackageKeysAreKnownToTheSourceOnceEach)
{
    const auto book = CheckBookText("package_nmae = x\npackage_name = a\nPACKAGE_NAME = b\n", "book.conf", dir_.Path());
    EXPECT_EQ(book.diagnostics.FormatAll(),
              "book.conf:1: setting package_nmae: no such setting (did you mean package_name?)\n"
              "book.conf:3: setting PACKAGE_NAME: set twice (first on line 2)\n");
    ASSERT_TRUE(book.package[0]);
    EXPECT_EQ(book.package[0]->value, "a");
    EXPECT_EQ(book.package[0]->line, 2);
}

PackageMetadata Sample()
{
    PackageMetadata m;
    m.name = "atlas-book";
    m.version = "1.0";
    m.maintainer = "Ana & Co <ana@example.org>";
    m.summary = "Maps <of> the north";
    m.description = {"Maps <of> the north.", "", "A long line " + std::string(70, 'x') + " and more words."};
    m.title = "Atlas \"North\"";
    m.web_address = "https://www.atlas.example.org:8080/x";
    return m;
}

TEST(PackageFiles, TextsOfThePackage)
{
    const auto m = Sample();
    EXPECT_EQ(
        ControlText(m, "amd64", "libc6 (>= 2.34)", 12),
        "Package: atlas-book\nVersion: 1.0\nArchitecture: amd64\n"
        "Maintainer: Ana & Co <ana@example.org>\nInstalled-Size: 12\nDepends: libc6 (>= 2.34)\n"
        "Section: doc\nPriority: optional\nHomepage: https://www.atlas.example.org:8080/x\n"
        "Description: Maps <of> the north\n"
        " A long line\n xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx and\n more words.\n .\n"
        " Atlas \"North\" is an e-book that opens in a window of its own. Start it from\n"
        " the applications menu, or with the command atlas-book.\n");
    EXPECT_EQ(PackageLauncherText(m),
              "[Desktop Entry]\nType=Application\nVersion=1.0\nName=Atlas \"North\"\n"
              "Comment=Maps <of> the north\nIcon=atlas-book\nExec=/usr/bin/atlas-book\n"
              "Terminal=false\nCategories=Education;\nKeywords=e-book;book;\nStartupWMClass=atlas-book\n");
    const auto metainfo = MetainfoText(m);
    for (const char* part :
         {"<id>org.example.atlas.atlas_book</id>", "<name>Atlas &quot;North&quot;</name>",
          "<summary>Maps &lt;of&gt; the north</summary>", "<p>Maps &lt;of&gt; the north.</p>",
          "<developer_name>Ana &amp; Co</developer_name>",
          "<launchable type=\"desktop-id\">atlas-book.desktop</launchable>", "<binary>atlas-book</binary>"}) {
        EXPECT_NE(metainfo.find(part), std::string::npos) << part << "\n" << metainfo;
    }
    EXPECT_EQ(ChangelogText(m, "0.1.0", "Wed, 09 Dec 2026 22:00:00 +0000"),
              "atlas-book (1.0) unstable; urgency=medium\n\n  * Atlas \"North\", packed with quillora-pack 0.1.0.\n\n"
              " -- Ana & Co <ana@example.org>  Wed, 09 Dec 2026 22:00:00 +0000\n");
    EXPECT_EQ(ManPageText(m).substr(0, 79),
              ".TH atlas\\-book 1 \"\" \"atlas\\-book 1.0\" \"E-books\"\n.SH NAME\natlas\\-book \\- Maps <");
    EXPECT_EQ(EscapeRoffLine(".start \\ 'x' a-b"), "\\&.start \\e 'x' a\\-b");
    EXPECT_EQ(EscapeRoffLine("'quoted"), "\\&'quoted");
}

TEST(PackageFiles, ComponentIds)
{
    struct Case {
        std::string web_address;
        std::string maintainer;
        std::string name;
        std::string id;
    };
    // where the book lives, its maintainer, its package -> the AppStream id
    const Case cases[] = {
        {"https://atlas.example.org", "A <a@b.net>", "atlas", "org.example.atlas.atlas"},
        {"http://user@WWW.Example.org:80/path?q#f", "A <a@b.net>", "atlas-book", "org.example.atlas_book"},
        {"", "A <a@mail.b.net>", "c++primer", "net.b.mail.c__primer"},
        {"not an address", "A <a@b.net>", "0ad", "net.b._0ad"},
        {"https://3d.example.org", "A <a@b.net>", "x.y", "org.example._3d.x_y"},
    };
    for (const auto& c : cases) {
        PackageMetadata m;
        m.web_address = c.web_address;
        m.maintainer = c.maintainer;
        m.name = c.name;
        EXPECT_EQ(ComponentId(m), c.id) << c.web_address;
    }
}

TEST(RuntimeFacts, SymbolsAndRecordedDepends)
{
    std::string elf(64, '\0');
    elf.replace(0, 6,
                "\x7F"
                "ELF\x02\x01");
    EXPECT_FALSE(CarriesSymbols(elf));  // no section table
    EXPECT_FALSE(CarriesSymbols("not a program"));
    const std::string program = quillora::test::ReadFile(QUILLORA_PACK_EXE);
    EXPECT_EQ(CarriesSymbols(program), program.find(".symtab") != std::string::npos);

    const auto facts = ParseRuntimePackageFacts("Architecture: amd64\r\nDepends: libc6 (>= 2.34), libx\n", "f");
    EXPECT_EQ(facts.architecture, "amd64");
    EXPECT_EQ(facts.depends, "libc6 (>= 2.34), libx");
    EXPECT_THROW(ParseRuntimePackageFacts("Depends: libc6\n", "f"), std::exception);
    EXPECT_EQ(RuntimePackageFactsPath("/usr/lib/quillora/quillora"), "/usr/lib/quillora/quillora.depends");
}

TEST(RuntimeFacts, ProgramsThatFailSayWhy)
{
    TempDir dir;
    RunProgram({{"sh", "-c", "echo out; echo said >&2"}, dir.Path(), dir / "out.txt"});
    EXPECT_EQ(quillora::test::ReadFile(dir / "out.txt"), "out\n");
    struct Case {
        std::vector<std::string> arguments;
        std::string message;
    };
    const Case cases[] = {
        {{"sh", "-c", "echo first >&2; echo 'the reason' >&2; exit 3"}, "sh failed (exit status 3): first\nthe reason"},
        {{"sh", "-c", "kill -9 $$"}, "sh failed (signal 9)"},
        {{"no-such-program-here"}, "cannot run no-such-program-here: No such file or directory"},
    };
    for (const auto& c : cases) {
        try {
            RunProgram({c.arguments, {}, {}});
            ADD_FAILURE() << c.message;
        } catch (const std::exception& failure) {
            EXPECT_EQ(failure.what(), c.message);
        }
    }
    EXPECT_TRUE(ProgramOnPath("sh"));
    EXPECT_FALSE(ProgramOnPath("no-such-program-here"));
}

// quillora-pack --deb as an author runs it, on a stand-in runtime with recorded facts.
TEST(PackToolDeb, WritesTheDebianPackageBesideTheBook)
{
    if (!ProgramOnPath("dpkg-deb")) {
        GTEST_SKIP() << "no dpkg-deb";
    }
    TempDir dir;
    const fs::path runtime = dir / "quillora";
    WriteFile(runtime, std::string("\x7F"
                                   "ELF stand-in",
                                   13));
    const auto source = MakeBookFolder(dir / "book", "title = Atlas\nabout_version = 1.0\nabout_email = a@b.org\n"
                                                     "about_description = Maps\npackage_name = atlas\n");
    const std::vector<std::string> pack = {"--runtime", runtime.string(), "--deb", source.string(),
                                           (dir / "out/").string()};

    auto run = RunPack(pack, dir.Path());
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_NE(run.err.find(runtime.string() + ".depends, which names the packages it needs, is missing"),
              std::string::npos)
        << run.err;
    EXPECT_FALSE(fs::exists(dir / "out")) << "nothing is written when the package cannot be made";

    WriteFile(runtime.string() + ".depends", "Architecture: all\nDepends: libc6\n");
    run = RunPack(pack, dir.Path());
    ASSERT_EQ(run.exit_code, 0) << run.err;
    const fs::path deb = dir / "out" / "atlas_1.0_all.deb";
    ASSERT_TRUE(fs::exists(deb));
    EXPECT_TRUE(fs::exists(dir / "out" / "book"));
    RunProgram({{"dpkg-deb", "--field", deb.string(), "Package", "Depends", "Description"}, {}, dir / "fields"});
    EXPECT_EQ(quillora::test::ReadFile(dir / "fields"),
              "Package: atlas\nDepends: libc6\nDescription: Maps\n Atlas is an e-book that opens in a window of its "
              "own. Start it from the\n applications menu, or with the command atlas.\n");
    RunProgram({{"dpkg-deb", "--fsys-tarfile", deb.string()}, {}, dir / "tree.tar"});
    RunProgram({{"tar", "-tvf", (dir / "tree.tar").string()}, {}, dir / "tree"});
    const auto tree = quillora::test::ReadFile(dir / "tree");
    for (const char* entry : {"-rwxr-xr-x root/root", "./usr/lib/atlas/atlas", "./usr/lib/atlas/pages/index.html",
                              "./usr/bin/atlas -> ../lib/atlas/atlas", "./usr/share/doc/atlas/changelog.gz"}) {
        EXPECT_NE(tree.find(entry), std::string::npos) << entry << "\n" << tree;
    }

    run = RunPack(pack, dir.Path());
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_NE(run.err.find("atlas_1.0_all.deb already exists (use --force to replace it)"), std::string::npos)
        << run.err;
}

}  // namespace
}  // namespace quillora::pack
