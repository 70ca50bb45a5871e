#include "runtime_image.hpp"

#include <gtest/gtest.h>

#include "common/error.hpp"
#include "pack_test_support.hpp"
#include "payload/payload_writer.hpp"

namespace quillora::pack {
namespace {

using testing::TempDir;
namespace fs = std::filesystem;
using testing::WriteFile;

const std::string Program = std::string("\x7F"
                                        "ELF fake runtime\0 with a NUL",
                                        29);

TEST(RuntimeImage, ABareProgramIsTakenWhole)
{
    EXPECT_EQ(BareRuntimeImage(Program, "rt"), Program);
    // Too short to carry a trailer, even when it is one.
    const std::string trailer_only = MakeTrailer(0, 0);
    EXPECT_EQ(BareRuntimeImage(trailer_only, "rt"), trailer_only);
}

TEST(RuntimeImage, AnEbookGivesBackTheProgramInFrontOfItsSettings)
{
    EXPECT_EQ(BareRuntimeImage(AppendPayload(Program, "title\r\n"), "rt"), Program);
    // A trailer that locates no text (length 0) right after the program.
    EXPECT_EQ(BareRuntimeImage(Program + MakeTrailer(static_cast<std::int32_t>(Program.size()), 0), "rt"), Program);
}

TEST(RuntimeImage, ATrailerThatDoesNotEndItsTextIsRefused)
{
    // A text that ends before the trailer leaves bytes whose owner cannot be told.
    const std::string gap = Program + "text" + "junk" + MakeTrailer(static_cast<std::int32_t>(Program.size()), 4);
    const std::string negative = Program + MakeTrailer(-1, 0);
    for (const auto& bytes : {gap, negative}) {
        try {
            BareRuntimeImage(bytes, "rt");
            ADD_FAILURE() << "accepted";
        } catch (const quillora::Error& failure) {
            EXPECT_STREQ(failure.what(), "the runtime rt carries e-book settings that do not end at "
                                         "its trailer; give the bare runtime with --runtime");
        }
    }
}

TEST(RuntimeImage, UnusableFiles)
{
    TempDir dir;
    WriteFile(dir / "empty", "");
    struct Case {
        fs::path path;
        std::string message;
    };
    // file -> message
    const Case cases[] = {
        {dir / "missing", "the runtime " + (dir / "missing").string() + " does not exist"},
        {dir.Path(), "the runtime " + dir.Path().string() + " is not a regular file"},
        {dir / "empty", "the runtime " + (dir / "empty").string() + " is empty"},
    };
    for (const auto& c : cases) {
        try {
            ReadRuntimeImage(c.path);
            ADD_FAILURE() << c.path;
        } catch (const quillora::Error& failure) {
            EXPECT_EQ(failure.what(), c.message);
        }
    }
    WriteFile(dir / "rt", Program);
    EXPECT_EQ(ReadRuntimeImage(dir / "rt"), Program);
}

}  // namespace
}  // namespace quillora::pack
