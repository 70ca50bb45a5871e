// The payload container on real files: finding the trailer, reading the text it locates, and
// refusing trailers whose numbers cannot describe a text in the file, before anything is
// allocated and without touching the caller's buffer.

#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/mman.h>

#include <array>
#include <atomic>
#include <climits>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "common/error.hpp"
#include "payload/file_handle.hpp"
#include "payload/payload.hpp"
#include "payload/payload_writer.hpp"
#include "support/temp_files.hpp"

// Largest single allocation made while a test watches. Without a sanitizer, global operator
// new is replaced (for the whole test binary, passing everything to malloc); under ASan, which
// owns the allocator, its allocation hook reports the sizes instead.
#if defined(__SANITIZE_ADDRESS__)
#define QUILLORA_ASAN_HOOKS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUILLORA_ASAN_HOOKS 1
#endif
#endif

namespace {
std::atomic<bool> watching{false};
std::atomic<std::size_t> largest_allocation{0};

void NoteAllocation(std::size_t size)
{
    if (watching.load(std::memory_order_relaxed)) {
        std::size_t seen = largest_allocation.load(std::memory_order_relaxed);
        while (size > seen && !largest_allocation.compare_exchange_weak(seen, size)) {
        }
    }
}
}  // namespace

#ifdef QUILLORA_ASAN_HOOKS
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*malloc_hook)(const volatile void*, std::size_t),
                                                         void (*free_hook)(const volatile void*));

namespace {
// Both hooks must be given, or none is installed.
const bool allocation_watch_installed =
    __sanitizer_install_malloc_and_free_hooks([](const volatile void*, std::size_t size) { NoteAllocation(size); },
                                              [](const volatile void*) {}) != 0;
}  // namespace
#else
namespace {
constexpr bool allocation_watch_installed = true;
}  // namespace
// The replacements pair malloc with free; GCC cannot see that and warns where they inline.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
void* operator new(std::size_t size)
{
    NoteAllocation(size);
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
#endif

namespace quillora {
namespace {

using test::TempDir;
using test::WriteFile;

constexpr char Sentinel = '\x5A';

std::string Image(std::size_t size)
{
    std::string image(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        image[i] = static_cast<char>('A' + i % 26);
    }
    return image;
}

// The message of the IoError that `operation` raises, or "" when it raises none.
template <typename Operation>
std::string IoErrorOf(Operation operation)
{
    try {
        operation();
    } catch (const IoError& error) {
        return error.what();
    }
    return "";
}

int OpenDescriptors()
{
    int count = 0;
    if (DIR* dir = ::opendir("/proc/self/fd")) {
        while (::readdir(dir) != nullptr) {
            ++count;
        }
        ::closedir(dir);
    }
    return count;
}

class PayloadTest : public ::testing::Test {
protected:
    std::string Write(std::string_view bytes, const char* name = "book")
    {
        std::string path = dir_.File(name);
        WriteFile(path, bytes);
        return path;
    }
    TempDir dir_;
};

TEST(PayloadTrailerFormat, SignatureAndLittleEndianFieldsAsOnDisk)
{
    // offset 0x01020304, length -2 -> 04 03 02 01, FE FF FF FF after the signature.
    const std::string trailer = MakeTrailer(0x01020304, -2);
    const std::string expected = "\x05\xA1\xAB\x9F\xA8\xED\xC3\x45\x89\xF4\x36\x93\x15\xA9\x47\xEB"
                                 "\x04\x03\x02\x01\xFE\xFF\xFF\xFF";
    EXPECT_EQ(trailer, std::string(expected.data(), 24));
}

TEST(PayloadTrailerFormat, AppendPayloadPointsAtTheTextJustBeforeTheTrailer)
{
    const std::string file = AppendPayload("IMAGE", "text");
    EXPECT_EQ(file, "IMAGEtext" + MakeTrailer(5, 4));
}

TEST(PayloadTrailerFormat, ConstructorTouchesNoFile)
{
    const TPayload payload("/nonexistent/quillora/file");
    EXPECT_EQ(payload.FileName(), "/nonexistent/quillora/file");
}

TEST_F(PayloadTest, ReadsTheTextThatTheWriterAppended)
{
    const std::string text = "Title\r\n-1\r\nclBlack\r\n\xA9\r\n";
    const TPayload payload(Write(AppendPayload(Image(1000), text)));

    EXPECT_TRUE(payload.IsPresent());
    EXPECT_EQ(payload.DataLength(), static_cast<std::int32_t>(text.size()));
    EXPECT_EQ(payload.ReadText(), text);

    // A buffer larger than the text keeps its bytes after the text.
    std::string buffer(text.size() + 3, Sentinel);
    payload.ReadInto(buffer);
    EXPECT_EQ(buffer, text + std::string(3, Sentinel));
}

TEST_F(PayloadTest, TextIsTakenByteForByteIncludingNulAndHighBytes)
{
    const std::string text("a\0b\xFF\x80\r", 6);
    const TPayload payload(Write(AppendPayload(Image(100), text)));
    EXPECT_EQ(payload.ReadText(), text);
}

TEST_F(PayloadTest, LargeTextIsReadCompletely)
{
    std::string text(300000, 'x');
    text[123456] = 'y';
    const TPayload payload(Write(AppendPayload(Image(70000), text)));
    EXPECT_EQ(payload.ReadText(), text);
}

TEST_F(PayloadTest, OffsetIntoTheMiddleOfTheImageReturnsThoseBytes)
{
    // Image "ABCDEFGHIJ...", trailer says offset 4 length 6 -> "EFGHIJ"; nothing checks them.
    const std::string path = Write(Image(100) + MakeTrailer(4, 6));
    const TPayload payload(path);
    EXPECT_EQ(payload.DataLength(), 6);
    std::array<char, 6> buffer{};
    payload.ReadInto(buffer);
    EXPECT_EQ(std::string(buffer.data(), buffer.size()), "EFGHIJ");
}

TEST_F(PayloadTest, TextMayEndExactlyWhereTheTrailerStarts)
{
    // 10 bytes before the trailer, offset 0 length 10: the whole front of the file.
    const TPayload payload(Write(Image(10) + MakeTrailer(0, 10)));
    EXPECT_EQ(payload.ReadText(), Image(10));
}

struct NoPayloadCase {
    const char* name;
    std::string file;
    std::int32_t data_length;  // what DataLength reports
};

TEST_F(PayloadTest, FilesWithoutPayloadAreNoErrorAndLeaveTheBufferAlone)
{
    std::string wrong_signature = AppendPayload(Image(50), "text");
    wrong_signature[wrong_signature.size() - 9] ^= 0x01;  // last signature byte
    std::string first_byte_wrong = AppendPayload(Image(50), "text");
    first_byte_wrong[first_byte_wrong.size() - 24] = 0x00;

    const std::vector<NoPayloadCase> cases = {
        {"empty file", "", 0},
        {"shorter than a trailer", "MZ", 0},
        // A valid trailer and nothing else: the size must exceed 24 bytes.
        {"only a trailer", MakeTrailer(0, 5), 0},
        // Plausible numbers in the last 8 bytes, but no signature.
        {"no signature", Image(100) + std::string(16, '\x01') + MakeTrailer(10, 20).substr(16), 0},
        {"last signature byte differs", wrong_signature, 0},
        {"first signature byte differs", first_byte_wrong, 0},
        {"data_length 0", Image(100) + MakeTrailer(100, 0), 0},
        {"negative data_length", Image(100) + MakeTrailer(10, -5), -5},
        // No text, so its impossible offset does not matter.
        {"negative length and offset", Image(100) + MakeTrailer(-1, INT_MIN), INT_MIN},
    };
    for (const NoPayloadCase& c : cases) {
        SCOPED_TRACE(c.name);
        const TPayload payload(Write(c.file));
        EXPECT_FALSE(payload.IsPresent());
        EXPECT_EQ(payload.DataLength(), c.data_length);
        EXPECT_EQ(payload.ReadText(), "");
        std::string buffer(16, Sentinel);
        payload.ReadInto(buffer);
        EXPECT_EQ(buffer, std::string(16, Sentinel));
    }
}

struct BrokenTrailerCase {
    const char* name;
    std::int32_t data_offset;
    std::int32_t data_length;
    const char* error;
};

TEST_F(PayloadTest, ImpossibleTrailersFailInEveryOperationWithoutTouchingTheBuffer)
{
    // A 1 KB image: the text may occupy bytes 0 .. 1023, the trailer starts at 1024.
    const std::vector<BrokenTrailerCase> cases = {
        {"2 GB text in a 1 KB file", 0, INT_MAX, "Read beyond end of file"},
        {"text one byte into the trailer", 1000, 25, "Read beyond end of file"},
        {"text starting at the trailer", 1024, 1, "Read beyond end of file"},
        {"text starting beyond the end", 5000, 1, "Read beyond end of file"},
        {"offset plus length overflows 32 bits", INT_MAX - 3, 8, "Read beyond end of file"},
        {"both near the 32-bit limit", INT_MAX, INT_MAX, "Read beyond end of file"},
        {"negative offset", -1, 4, "The book's payload trailer is damaged (data_offset -1): I/O error 22"},
        {"most negative offset", INT_MIN, 4,
         "The book's payload trailer is damaged (data_offset -2147483648): I/O error 22"},
    };
    for (const BrokenTrailerCase& c : cases) {
        SCOPED_TRACE(c.name);
        const TPayload payload(Write(Image(1024) + MakeTrailer(c.data_offset, c.data_length)));
        EXPECT_EQ(IoErrorOf([&] { (void)payload.IsPresent(); }), c.error);
        EXPECT_EQ(IoErrorOf([&] { (void)payload.DataLength(); }), c.error);
        EXPECT_EQ(IoErrorOf([&] { (void)payload.ReadText(); }), c.error);
        std::string buffer(2048, Sentinel);
        EXPECT_EQ(IoErrorOf([&] { payload.ReadInto(buffer); }), c.error);
        EXPECT_EQ(buffer, std::string(2048, Sentinel));
    }
}

TEST_F(PayloadTest, HugeDeclaredLengthAllocatesNothingLarge)
{
    ASSERT_TRUE(allocation_watch_installed);
    const TPayload payload(Write(Image(1024) + MakeTrailer(0, INT_MAX)));
    std::string buffer(16, Sentinel);

    // The watch sees a large allocation when there is one.
    largest_allocation = 0;
    watching = true;
    const auto control = std::make_unique<std::string>(200000, 'x');
    watching = false;
    ASSERT_GE(largest_allocation.load(), 200000u);

    largest_allocation = 0;
    watching = true;
    EXPECT_THROW((void)payload.DataLength(), IoError);
    EXPECT_THROW((void)payload.ReadText(), IoError);
    EXPECT_THROW(payload.ReadInto(buffer), IoError);
    watching = false;
    EXPECT_LT(largest_allocation.load(), 64u * 1024u);
}

TEST_F(PayloadTest, BufferSmallerThanTheTextIsAnErrorAndStaysUntouched)
{
    const TPayload payload(Write(AppendPayload(Image(100), "0123456789")));
    std::string buffer(9, Sentinel);
    EXPECT_THROW(payload.ReadInto(buffer), IoError);
    EXPECT_EQ(buffer, std::string(9, Sentinel));
}

TEST_F(PayloadTest, FilesThatCannotBeOpenedFailWithTheRuntimeTexts)
{
    const std::string regular = Write("plain", "plain");
    struct Case {
        const char* name;
        std::string path;
        const char* error;
    };
    const std::vector<Case> cases = {
        {"missing file", dir_.File("missing"), "File not found"},
        {"missing folder", dir_.File("no/such/file"), "File not found"},
        {"a file used as a folder", regular + "/x", "I/O error 20"},
        {"a folder", dir_.Path().string(), "I/O error 21"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TPayload payload(c.path);
        EXPECT_EQ(IoErrorOf([&] { (void)payload.IsPresent(); }), c.error);
        EXPECT_EQ(IoErrorOf([&] { (void)payload.DataLength(); }), c.error);
        EXPECT_EQ(IoErrorOf([&] { (void)payload.ReadText(); }), c.error);
        std::string buffer(4, Sentinel);
        EXPECT_EQ(IoErrorOf([&] { payload.ReadInto(buffer); }), c.error);
        EXPECT_EQ(buffer, std::string(4, Sentinel));
    }
}

TEST_F(PayloadTest, NoDescriptorOutlivesAnOperation)
{
    const TPayload good(Write(AppendPayload(Image(100), "text"), "good"));
    const TPayload broken(Write(Image(100) + MakeTrailer(0, 5000), "broken"));
    const TPayload missing(dir_.File("missing"));
    const int before = OpenDescriptors();
    for (int i = 0; i < 20; ++i) {
        std::array<char, 4> buffer{};
        (void)good.IsPresent();
        good.ReadInto(buffer);
        (void)good.ReadText();
        EXPECT_THROW(broken.ReadInto(buffer), IoError);
        EXPECT_THROW((void)broken.DataLength(), IoError);
        EXPECT_THROW((void)missing.IsPresent(), IoError);
    }
    EXPECT_EQ(OpenDescriptors(), before);
}

TEST_F(PayloadTest, FileHandleReadsExactlyOrFails)
{
    const FileHandle file = FileHandle::OpenReadOnly(Write("0123456789"));
    EXPECT_EQ(file.Size(), 10);

    std::array<char, 3> buffer{};
    file.ReadExactly(7, buffer);
    EXPECT_EQ(std::string(buffer.data(), 3), "789");

    // offset -> expected error
    struct Case {
        std::int64_t offset;
        const char* error;
    };
    for (const Case& c : {Case{8, "Read beyond end of file"}, Case{10, "Read beyond end of file"},
                          Case{1'000'000, "Read beyond end of file"}, Case{-1, "I/O error 22"}}) {
        SCOPED_TRACE(c.offset);
        EXPECT_EQ(IoErrorOf([&] { file.ReadExactly(c.offset, buffer); }), c.error);
    }
}

TEST(PayloadWriter, RefusesWhatTheTrailerCannotDescribe)
{
    // The text must end where a signed 32-bit number can still point.
    // 16-byte image + (2^31 - 16)-byte text would end at 2^31: one past the limit.
    const std::string image(16, 'I');
    const std::size_t huge = static_cast<std::size_t>(INT_MAX) - 15;
    // Reserved address space only; never touched, because the sizes are refused first.
    void* memory = ::mmap(nullptr, huge, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    ASSERT_NE(memory, MAP_FAILED);
    const std::string_view huge_text(static_cast<const char*>(memory), huge);
    EXPECT_THROW((void)AppendPayload(image, huge_text), Error);
    EXPECT_THROW((void)AppendPayload(huge_text, image), Error);
    ::munmap(memory, huge);
}

}  // namespace
}  // namespace quillora
