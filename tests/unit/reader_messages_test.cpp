// The messages that tell the reader what is wrong when the book cannot read its own file, cannot
// use the temporary folder, or cannot open a file it names.
#include <cerrno>
#include <string>

#include <gtest/gtest.h>

#include "actions/shell_requests.hpp"
#include "book/self_path.hpp"
#include "common/error.hpp"
#include "common/temporary_folder.hpp"
#include "support/temp_files.hpp"

namespace quillora {
namespace {

TEST(ReaderMessages, NameTheFileOrFolderAndWhatIsWrongWithIt)
{
    const test::TempDir dir;
    const std::string file = dir.Write("plain", "text");
    struct Case {
        const char* label;
        std::string message;
        std::string expected;
    };
    // situation -> message
    const Case cases[] = {
        {"a book that may be run but not read", OwnFileErrorText("/opt/atlas/atlas", IoErrorFromErrno(EACCES)),
         "The book cannot read its own file /opt/atlas/atlas: Permission denied"},
        {"a read that the disk failed", OwnFileErrorText("/opt/atlas/atlas", IoErrorFromErrno(EIO)),
         "The book cannot read its own file /opt/atlas/atlas: Input/output error"},
        {"the runtime's own finding keeps its words",
         OwnFileErrorText("/opt/atlas/atlas", IoError(ReadBeyondEndOfFileText)), "Read beyond end of file"},
        {"a temporary folder that does not exist", TemporaryFolderProblem(dir / "missing"), "does not exist"},
        {"a temporary folder that is a file", TemporaryFolderProblem(file), "is not a folder"},
        {"a temporary folder below a file", TemporaryFolderProblem(dir / "plain" / "below"),
         "cannot be reached: Not a directory"},
        {"a temporary folder that works", TemporaryFolderProblem(dir.Path()), ""},
        {"a file that is not there", OpenFileFailureText("/opt/atlas/readme.txt", NoSuchFileText),
         "Cannot open /opt/atlas/readme.txt: there is no such file"},
        {"a file no program opens",
         OpenFileFailureText("/opt/atlas/data.xyz", "No application is registered as handling this file"),
         "Cannot open /opt/atlas/data.xyz: No application is registered as handling this file"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.message, c.expected) << c.label;
    }
    // Where the code matters, it travels with the error.
    EXPECT_EQ(IoErrorFromErrno(EACCES).Code(), EACCES);
    EXPECT_EQ(IoErrorFromErrno(ENOENT).Code(), ENOENT);
    EXPECT_EQ(std::string(IoErrorFromErrno(ENOENT).what()), "File not found");
}

}  // namespace
}  // namespace quillora
