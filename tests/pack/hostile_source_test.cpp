// Book sources that are not what a book source should be: devices, pipes, huge files and
// huge names. Each is answered at once with a message that names it.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "book_plan.hpp"
#include "pack_test_support.hpp"
#include "source_file.hpp"

namespace quillora::pack {
namespace {

using testing::TempDir;
using testing::WriteFile;
namespace fs = std::filesystem;

TEST(HostileSource, RefusedOrReadBoundedWithoutWaiting)
{
    TempDir dir;
    ASSERT_EQ(::mkfifo((dir / "fifo.conf").c_str(), 0600), 0);  // no writer: a read would wait forever
    fs::create_directories(dir / "folder" / "book.conf");
    WriteFile(dir / "huge" / "book.conf", "");
    fs::resize_file(dir / "huge" / "book.conf", MaxSourceBytes + 1);
    for (const char* book : {"limit", "names"}) {
        WriteFile(dir / book / "pages" / "index.html", "home");
    }
    WriteFile(dir / "limit" / "book.conf", "title = Atlas\n");
    fs::resize_file(dir / "limit" / "book.conf", MaxSourceBytes);  // NULs after the line
    const std::string long_name(std::size_t{1} << 20, 'w');
    WriteFile(dir / "names" / "book.conf", long_name + "indow_width = 1\nwindw_width = 2\n");

    struct Case {
        fs::path source;
        std::string problems;
    };
    // source -> exactly the problems reported
    const Case cases[] = {
        {"/dev/zero", "/dev/zero: cannot read the book source: it is a character device, not a text file\n"},
        {dir / "fifo.conf",
         (dir / "fifo.conf").string() + ": cannot read the book source: it is a FIFO (named pipe), not a text file\n"},
        {dir / "folder",
         (dir / "folder" / "book.conf").string() + ": cannot read the book source: it is a folder, not a text file\n"},
        {dir / "huge", (dir / "huge" / "book.conf").string() +
                           ": the book source is larger than 16 MiB, the limit for a book's settings and menu\n"},
        {dir / "limit",
         (dir / "limit" / "book.conf").string() + ":2: the file holds a NUL byte; a book source is a text file\n"},
        // a name far longer than any setting gets no suggestion and is shown cut; a near one still does
        {dir / "names", (dir / "names" / "book.conf").string() + ":1: setting " + std::string(48, 'w') +
                            "... (1048587 bytes): no such setting\n" + (dir / "names" / "book.conf").string() +
                            ":2: setting windw_width: no such setting (did you mean window_width?)\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LoadBook(c.source).diagnostics.FormatAll(), c.problems) << c.source;
    }
}

}  // namespace
}  // namespace quillora::pack
