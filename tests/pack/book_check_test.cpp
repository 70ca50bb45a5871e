#include <gtest/gtest.h>

#include "book_check.hpp"
#include "pack_test_support.hpp"

namespace quillora::pack {
namespace {

using testing::RunPack;
using testing::TempDir;
using testing::WriteFile;
namespace fs = std::filesystem;

struct PageFile {
    const char* path;
    const char* text;
};

// Writes the book and returns what --check says of its pages.
std::string PageProblems(const fs::path& dir, const std::string& conf, std::initializer_list<PageFile> files)
{
    for (const auto& file : files) {
        WriteFile(dir / file.path, file.text);
    }
    const auto book = CheckBookText(conf, "book.conf", dir);
    Diagnostics pages;
    CheckBookPages(book, PageFaults::AreErrors, pages);
    return pages.FormatAsFound();
}

// Every form a careful author writes that must pass: web and mail addresses, script links,
// queries, fragments that exist (and #top), names with escapes, a name in the page's own
// encoding, srcset, frames, a sub-folder and the way back up, a <base href>, LOADHTML in a
// page and in the menu, and the alternative home page.
TEST(BookCheck, ACleanBookGivesNoMessage)
{
    TempDir dir;
    const std::string conf = "home_button_alt_page = pages/contents.html\n"
                             "startup_action = LOADHTML \"C:\\Quillora\\pages\\start.html\"\n"
                             "[[menu]]\n[GERAL]\nMENU_0=Book\n[MENU]\nITENS_0=Maps\n"
                             "[ACOES]\nMENUx0_0=LOADHTML \"C:\\Quillora\\pages\\maps\\north.html\"\n";
    const auto problems = PageProblems(
        dir.Path(), conf,
        {{"pages/index.html",
          "<html><head><link rel=stylesheet href='style.css?v=2'><script src='app%20one.js'></script></head>\n"
          "<body id=top><a href='http://example.org/x.html'>w</a> <a href='mailto:a@b.org'>m</a>\n"
          "<a href='javascript:void(0)'>j</a> <a href='#'>t</a> <a href='#top'>t</a> <a href='#sec%201'>s</a>\n"
          "<a name='sec 1'></a><a href='maps/north.html#cape'>n</a> <a "
          "href='ACTION:WEBHOME()-@-MESSAGE%20%A%==%B%'>a</a>\n"
          "<img src='pic.png' srcset='pic.png 1x, pic@2x.png 2x'><iframe src='frame.html'></iframe>\n"
          "<a href='  action:LOADHTML%20%C:\\Quillora\\pages\\loaded.html%'>l</a></body></html>\n"},
         {"pages/\xD0\xB4.html", "<p>\xD0\xB4</p>"},
         {"pages/cyrillic.html",  // U+0434 is E4 in windows-1251, but "\xC3\xA4" read as Latin-1
          "<html><head><meta charset=windows-1251></head><body><a href='\xE4.html'>c</a></body></html>"},
         {"pages/contents.html", "<a href='cyrillic.html'>l</a><a href='based.html'>b</a>"},
         {"pages/based.html", "<base href='maps/'><a href='north.html#cape'>n</a><a href='#'>n</a>"},
         {"pages/start.html", "<p>start</p>"},
         {"pages/loaded.html", "<p>loaded</p>"},
         {"pages/frame.html", "<p>frame</p>"},
         {"pages/maps/north.html",
          "<h1 id=cape>Cape</h1><a href='../index.html'>home</a><a href='.\\..\\pic.png'>p</a>"},
         {"pages/style.css", ""},
         {"pages/app one.js", ""},
         {"pages/pic.png", ""},
         {"pages/pic@2x.png", ""}});
    EXPECT_EQ(problems, "");
}

// One fault of each kind. A book-wide check that misses one, or reports on the wrong line,
// fails here.
TEST(BookCheck, EachFaultIsReportedAtItsPageAndLine)
{
    TempDir dir;
    const std::string conf = "startup_action = LOADHTML \"pages/chapter.html\"\n"
                             "[[menu]]\n[GERAL]\nMENU_0=Book\n[MENU]\nITENS_0=Gone\n"
                             "[ACOES]\nMENUx0_0=LOADHTML \"C:\\Quillora\\pages\\gone.html\"\n";
    const auto problems =
        PageProblems(dir.Path(), conf,
                     {{"pages/index.html", "<html><head>\n"
                                           "<link rel=stylesheet href=gone.css>\n"
                                           "</head><body>\n"
                                           "<a href='chapter.html#nowhere'>1</a>\n"
                                           "<a href='../../up.html'>2</a>\n"
                                           "<a href='/etc/passwd'>3</a> <a href='file:///etc/hosts'>3b</a>\n"
                                           "<img src='Pic.png'>\n"
                                           "<a href='ACTION:WEBHOM()-@-WEBSTOP()'>5</a>\n"
                                           "<a href='ACTION:LOADHTML%20%C:\\Quillora\\pages\\missing.html%'>6</a>\n"
                                           "<script src='.hidden.js'></script>\n"
                                           "<a href=chapter.html>ok</a> <a href='#here'>7</a>\n"
                                           "</body></html>\n"},
                      {"pages/chapter.html", "<h1 id=intro>Chapter</h1>"},
                      {"pages/orphan.html", "<a href=index.html>back</a>"},
                      {"pages/pic.png", ""},
                      {"pages/.hidden.js", ""}});
    // input: one book -> expected: exactly these lines, source first, then page by page
    EXPECT_EQ(
        problems,
        "book.conf:1: setting startup_action: LOADHTML \"pages/chapter.html\" opens r.html, which is not a file of the "
        "book (write LOADHTML \"C:\\Quillora\\pages\\chapter.html\")\n"
        "book.conf:8: menu: LOADHTML \"C:\\Quillora\\pages\\gone.html\" opens pages/gone.html, which is not "
        "a file of the book\n"
        "pages/index.html:2: style sheet 'gone.css': pages/gone.css is not a file of the book\n"
        "pages/index.html:4: warning: link 'chapter.html#nowhere': pages/chapter.html has no anchor named "
        "'nowhere'\n"
        "pages/index.html:5: link '../../up.html' leads out of the e-book's folder\n"
        "pages/index.html:6: link '/etc/passwd' is an absolute file path, which the reader's machine does "
        "not have; write it relative to the page\n"
        "pages/index.html:6: link 'file:///etc/hosts' is an absolute file path, which the reader's machine "
        "does not have; write it relative to the page\n"
        "pages/index.html:7: image 'Pic.png': pages/Pic.png is not a file of the book (did you mean "
        "pages/pic.png?)\n"
        "pages/index.html:8: warning: unknown command WEBHOM() (did you mean WEBHOME()?) in an action link; "
        "the e-book passes over it\n"
        "pages/index.html:8: warning: unknown command WEBSTOP() (did you mean WEBSTOP?) in an action link; "
        "the e-book passes over it\n"
        "pages/index.html:9: LOADHTML \"C:\\Quillora\\pages\\missing.html\" opens pages/missing.html, which "
        "is not a file of the book\n"
        "pages/index.html:10: script '.hidden.js': pages/.hidden.js is left out of the e-book: a hidden file "
        "(--include-hidden copies hidden names)\n"
        "pages/index.html:11: warning: link '#here': pages/index.html has no anchor named 'here'\n"
        "pages/orphan.html: warning: no link leads to this page from the home page\n");
}

// --check fails on the pages' errors; packing reports the same lines as warnings and still
// writes the e-book, as it wrote books with dangling links before the pages were read.
TEST(BookCheck, CheckFailsOnAPageFaultWhilePackingOnlyWarns)
{
    TempDir dir;
    WriteFile(dir / "book/book.conf", "");
    WriteFile(dir / "book/pages/index.html", "<a href=gone.html>x</a>");
    WriteFile(dir / "quillora", "\x7F"
                                "ELF not really a program");
    const auto check = RunPack({"--check", (dir / "book").string()}, dir.Path());
    EXPECT_EQ(check.err, "pages/index.html:1: link 'gone.html': pages/gone.html is not a file of the book\n");
    EXPECT_EQ(check.exit_code, 1);
    const auto pack = RunPack(
        {"--runtime", (dir / "quillora").string(), (dir / "book").string(), (dir / "out/b").string()}, dir.Path());
    EXPECT_EQ(pack.err, "pages/index.html:1: warning: link 'gone.html': pages/gone.html is not a file of the book\n");
    EXPECT_EQ(pack.exit_code, 0);
    EXPECT_TRUE(fs::exists(dir / "out/b"));
}

// A byte that the page's encoding lacks: one line at the first such byte, in line order with the
// page's other faults, and the page read on past it; nothing of the parser's own on stderr.
TEST(BookCheck, AByteThePageEncodingLacksIsOneLineAtItsLine)
{
    struct Case {
        const char* page;
        const char* err;
    };
    // page -> what --check prints
    const Case cases[] = {
        {"<html><body>\n<p>\xC3\x81gua \xC3\x81gua</p>\n<a href=gone.html>x</a></body></html>",
         "pages/index.html:2: warning: byte 0x81 is no character of windows-1252, the encoding the e-book reads "
         "this page in (a page that declares no encoding it knows; for UTF-8 write <meta charset=\"utf-8\">)\n"
         "pages/index.html:3: link 'gone.html': pages/gone.html is not a file of the book\n"},
        {"<meta charset=utf-8>\n<a href=gone.html>x</a>\n<p>caf\xE9 caf\xE9</p>",
         "pages/index.html:2: link 'gone.html': pages/gone.html is not a file of the book\n"
         "pages/index.html:3: warning: byte 0xE9 is no character of utf-8, the encoding the e-book reads this "
         "page in\n"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        WriteFile(dir / "book/book.conf", "");
        WriteFile(dir / "book/pages/index.html", c.page);
        EXPECT_EQ(RunPack({"--check", (dir / "book").string()}, dir.Path()).err, c.err) << c.page;
    }
}

// What follows </html> is in the page the engine shows, at the line it is written on.
TEST(BookCheck, ContentAfterTheEndOfThePageIsChecked)
{
    // page -> its faults
    const std::pair<const char*, const char*> cases[] = {
        {"<!DOCTYPE html>\n<html><body><p>in</p></body>\n</html>\n<a href=gone.html>x</a>",
         "pages/index.html:4: link 'gone.html': pages/gone.html is not a file of the book\n"},
        {"<!DOCTYPE html><html><body></body></html>\n<html></html>\n<body><img src=gone.png></body>",
         "pages/index.html:3: image 'gone.png': pages/gone.png is not a file of the book\n"},
    };
    for (const auto& [page, faults] : cases) {
        TempDir dir;
        EXPECT_EQ(PageProblems(dir.Path(), "", {{"pages/index.html", page}}), faults) << page;
    }
}

}  // namespace
}  // namespace quillora::pack
