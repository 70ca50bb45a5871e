#include "command_line.hpp"

#include <gtest/gtest.h>

namespace quillora::pack {
namespace {

using Args = std::vector<std::string>;

TEST(CommandLine, Modes)
{
    auto line = ParseCommandLine({"book", "out/atlas"});
    EXPECT_EQ(line.mode, Mode::Pack);
    EXPECT_EQ(line.source, "book");
    EXPECT_EQ(line.output, "out/atlas");
    EXPECT_FALSE(line.runtime);
    EXPECT_FALSE(line.force);

    line = ParseCommandLine({"-o", "out/", "--force", "book", "--runtime=/opt/quillora"});
    EXPECT_EQ(line.mode, Mode::Pack);
    EXPECT_EQ(line.source, "book");
    EXPECT_EQ(line.output, "out/");
    EXPECT_EQ(line.runtime, "/opt/quillora");
    EXPECT_TRUE(line.force);

    line = ParseCommandLine({"--check", "book/book.conf"});
    EXPECT_EQ(line.mode, Mode::Check);
    EXPECT_EQ(line.source, "book/book.conf");

    line = ParseCommandLine({"-d", "out/atlas"});
    EXPECT_EQ(line.mode, Mode::Dump);
    EXPECT_EQ(line.source, "out/atlas");

    line = ParseCommandLine({"--", "-book-", "out"});
    EXPECT_EQ(line.source, "-book-");

    line = ParseCommandLine({"--encoding", "windows-1252", "b", "o"});
    EXPECT_EQ(line.encoding, OutputEncoding::Windows1252);

    EXPECT_EQ(ParseCommandLine({"--help"}).mode, Mode::Help);
    EXPECT_EQ(ParseCommandLine({"-V"}).mode, Mode::Version);
    EXPECT_EQ(ParseCommandLine({"--help", "extra", "words"}).mode, Mode::Help);
}

TEST(CommandLine, UsageErrors)
{
    struct Case {
        Args arguments;
        const char* message;
    };
    // arguments -> message
    const Case cases[] = {
        {{}, "missing SOURCE and OUTPUT"},
        {{"book"}, "missing OUTPUT"},
        {{"-o", "out"}, "missing SOURCE"},
        {{"a", "b", "c"}, "unexpected argument 'c'"},
        {{"-o", "out", "a", "b"}, "unexpected argument 'b'"},
        {{"-o", "x", "-o", "y", "a"}, "option '-o' given twice"},
        {{"--check"}, "missing SOURCE"},
        {{"--dump", "a", "b"}, "unexpected argument 'b'"},
        {{"--check", "--dump", "a"}, "options '--check' and '--dump' cannot be combined"},
        {{"--check", "a", "-o", "b"}, "option '--check' writes no e-book; drop '-o'"},
        {{"--runtime"}, "option '--runtime' needs a value"},
        {{"--force=yes", "a", "b"}, "option '--force' takes no value"},
        {{"--encoding=latin-9", "a", "b"}, "unknown encoding 'latin-9' (use utf-8 or windows-1252)"},
        {{"-x", "a", "b"}, "unknown option '-x'"},
        {{"--frobnicate", "a", "b"}, "unknown option '--frobnicate'"},
    };
    for (const auto& c : cases) {
        try {
            ParseCommandLine(c.arguments);
            ADD_FAILURE() << c.message;
        } catch (const UsageError& failure) {
            EXPECT_STREQ(failure.what(), c.message);
        }
    }
}

}  // namespace
}  // namespace quillora::pack
