#include "command_line.hpp"

#include <gtest/gtest.h>

namespace quillora::pack {
namespace {

using Args = std::vector<std::string>;

CommandLine Line(Mode mode, std::string source = "", std::optional<std::string> output = {})
{
    CommandLine line;
    line.mode = mode;
    line.source = std::move(source);
    line.output = std::move(output);
    return line;
}

TEST(CommandLine, ParsedLines)
{
    struct Case {
        Args arguments;
        CommandLine expected;
    };
    const auto pack = [](std::string source, std::string output) {
        return Line(Mode::Pack, std::move(source), std::move(output));
    };
    CommandLine forced = pack("book", "out/");
    forced.force = true;
    forced.runtime = "/opt/quillora";
    CommandLine hidden_cp1252 = pack("b", "o");
    hidden_cp1252.include_hidden = true;
    hidden_cp1252.encoding = OutputEncoding::Windows1252;
    // arguments -> parsed line
    const Case cases[] = {
        // operands and options in any order; values attached, after '=' or in the next argument
        {{"book", "out/atlas"}, pack("book", "out/atlas")},
        {{"-o", "out/", "--force", "book", "--runtime=/opt/quillora"}, forced},
        {{"-fo", "out/", "book", "-r/opt/quillora"}, forced},
        {{"--output=out/", "book", "--runtime", "/opt/quillora", "-f"}, forced},
        {{"--include-hidden", "-e", "windows-1252", "b", "o"}, hidden_cp1252},
        {{"--incl", "--encoding=cp1252", "b", "o"}, hidden_cp1252},
        // "--" ends the options; "-" alone is an operand
        {{"--", "-book-", "-f"}, pack("-book-", "-f")},
        {{"-", "out"}, pack("-", "out")},
        {{"--check", "book/book.conf"}, Line(Mode::Check, "book/book.conf")},
        {{"-d", "out/atlas"}, Line(Mode::Dump, "out/atlas")},
        {{"--help", "extra", "words"}, Line(Mode::Help)},
        {{"-V"}, Line(Mode::Version)},
    };
    for (const auto& c : cases) {
        const CommandLine line = ParseCommandLine(c.arguments);
        const std::string context = ::testing::PrintToString(c.arguments);
        EXPECT_EQ(line.mode, c.expected.mode) << context;
        EXPECT_EQ(line.source, c.expected.source) << context;
        EXPECT_EQ(line.output, c.expected.output) << context;
        EXPECT_EQ(line.runtime, c.expected.runtime) << context;
        EXPECT_EQ(line.force, c.expected.force) << context;
        EXPECT_EQ(line.include_hidden, c.expected.include_hidden) << context;
        EXPECT_EQ(line.encoding, c.expected.encoding) << context;
    }
}

TEST(CommandLine, PackageOptions)
{
    struct Case {
        Args arguments;
        Mode mode;
        PackageOverrides package;
    };
    // arguments -> mode and package fields; --deb goes with packing and with --check
    const Case cases[] = {
        {{"--deb", "book", "out/"}, Mode::Pack, {}},
        {{"--check", "--deb", "book"}, Mode::Check, {}},
        {{"--de", "--package-name=atlas", "--package-version", "2.0~rc1", "book", "out/"},
         Mode::Pack,
         {"atlas", "2.0~rc1", std::nullopt, std::nullopt}},
        {{"-c", "--deb", "--package-maintainer=A B <a@b.org>", "--package-summary", "Maps", "book"},
         Mode::Check,
         {std::nullopt, std::nullopt, "A B <a@b.org>", "Maps"}},
    };
    for (const auto& c : cases) {
        const CommandLine line = ParseCommandLine(c.arguments);
        const std::string context = ::testing::PrintToString(c.arguments);
        EXPECT_TRUE(line.deb) << context;
        EXPECT_EQ(line.mode, c.mode) << context;
        EXPECT_EQ(line.package, c.package) << context;
    }
    EXPECT_FALSE(ParseCommandLine({"book", "out/"}).deb);
}

TEST(CommandLine, UsageErrors)
{
    struct Case {
        Args arguments;
        const char* message;
    };
    // arguments -> message, naming the option as it was written
    const Case cases[] = {
        {{}, "missing SOURCE and OUTPUT"},
        {{"book"}, "missing OUTPUT"},
        {{"-o", "out"}, "missing SOURCE"},
        {{"a", "b", "c"}, "unexpected argument 'c'"},
        {{"-o", "out", "a", "b"}, "unexpected argument 'b'"},
        {{"-o", "x", "--output", "y", "a"}, "option '--output' given twice"},
        {{"--check"}, "missing SOURCE"},
        {{"--dump", "a", "b"}, "unexpected argument 'b'"},
        {{"--check", "-d", "a"}, "options '--check' and '-d' cannot be combined"},
        {{"--check", "a", "-o", "b"}, "option '--check' writes no e-book; drop '-o'"},
        {{"--runtime"}, "option '--runtime' needs a value"},
        {{"a", "b", "-fr"}, "option '-r' needs a value"},
        {{"--force=yes", "a", "b"}, "option '--force' takes no value"},
        {{"--encoding=latin-9", "a", "b"}, "unknown encoding 'latin-9' (use utf-8 or windows-1252)"},
        {{"--force", "-fx", "a", "b"}, "unknown option '-x'"},
        {{"-xf", "a", "b"}, "unknown option '-x'"},
        {{"--frobnicate=1", "a", "b"}, "unknown option '--frobnicate'"},
        // two options start alike now: a prefix of both is refused with their names
        {{"--d", "a"}, "option '--d' is ambiguous (--dump, --deb)"},
        {{"--package=x", "--deb", "a", "b"},
         "option '--package' is ambiguous (--package-name, --package-version, "
         "--package-maintainer, --package-summary)"},
        {{"--package-name=atlas", "a", "b"}, "option '--package-name' sets a field of the package; add '--deb'"},
        {{"--dump", "--deb", "a"}, "option '--dump' makes no package; drop '--deb'"},
        {{"--deb", "a", "b", "--package-version"}, "option '--package-version' needs a value"},
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
