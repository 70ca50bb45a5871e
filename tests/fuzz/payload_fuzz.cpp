// Fuzzes the payload container on a real file: the input is the whole file. Checks that the
// operations agree with each other, that an accepted text really lies before the trailer, and
// that a failing ReadInto leaves the caller's buffer alone. Only IoError may escape TPayload.

#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "common/error.hpp"
#include "payload/payload.hpp"
#include "payload/payload_trailer.hpp"

namespace {

void Check(bool condition)
{
    if (!condition) {
        __builtin_trap();
    }
}

// One scratch file for the whole run, unlinked at once and reached through /proc/self/fd, so
// nothing is left behind even when the run ends in a crash. Prefers the memory-backed /dev/shm.
class ScratchFile {
public:
    ScratchFile()
    {
        const char* tmpdir = std::getenv("TMPDIR");
        std::string dir = ::access("/dev/shm", W_OK) == 0          ? "/dev/shm"
                          : (tmpdir != nullptr && *tmpdir != '\0') ? tmpdir
                                                                   : "/tmp";
        std::string name = dir + "/quillora-payload-fuzz-XXXXXX";
        fd_ = ::mkstemp(name.data());
        Check(fd_ >= 0);
        ::unlink(name.c_str());
        path_ = "/proc/self/fd/" + std::to_string(fd_);
    }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;
    ~ScratchFile() { ::close(fd_); }

    void Replace(const std::uint8_t* data, std::size_t size) const
    {
        Check(::ftruncate(fd_, 0) == 0);
        std::size_t done = 0;
        while (done < size) {
            const ssize_t wrote = ::pwrite(fd_, data + done, size - done, static_cast<off_t>(done));
            Check(wrote > 0);
            done += static_cast<std::size_t>(wrote);
        }
    }
    const std::string& Path() const { return path_; }

private:
    int fd_ = -1;
    std::string path_;
};

const ScratchFile& Scratch()
{
    static const ScratchFile file;
    return file;
}

// The trailer rules on the bytes in memory: an accepted text lies wholly before the trailer.
std::optional<std::string> ExpectedText(const std::uint8_t* data, std::size_t size, bool& fails)
{
    fails = false;
    if (size <= quillora::PayloadTrailer::Size) {
        return std::nullopt;
    }
    const std::span<const std::uint8_t, quillora::PayloadTrailer::Size> bytes(
        data + size - quillora::PayloadTrailer::Size, quillora::PayloadTrailer::Size);
    const quillora::PayloadTrailer trailer = quillora::DecodeTrailer(bytes);
    const auto encoded = quillora::EncodeTrailer(trailer);
    Check(std::equal(encoded.begin(), encoded.end(), bytes.begin()));
    if (!trailer.SignatureMatches()) {
        return std::nullopt;
    }
    try {
        const auto range = quillora::LocateText(trailer, static_cast<std::int64_t>(size));
        if (!range) {
            return std::nullopt;
        }
        Check(range->offset >= 0 && range->length > 0);
        Check(range->offset + range->length <= static_cast<std::int64_t>(size - quillora::PayloadTrailer::Size));
        return std::string(reinterpret_cast<const char*>(data) + range->offset,
                           static_cast<std::size_t>(range->length));
    } catch (const quillora::IoError&) {
        fails = true;
        return std::nullopt;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    bool expect_failure = false;
    const std::optional<std::string> expected = ExpectedText(data, size, expect_failure);

    Scratch().Replace(data, size);
    const quillora::TPayload payload(Scratch().Path());

    std::optional<std::int32_t> length;
    try {
        length = payload.DataLength();
    } catch (const quillora::IoError&) {
    }
    Check(length.has_value() != expect_failure);

    std::optional<bool> present;
    try {
        present = payload.IsPresent();
    } catch (const quillora::IoError&) {
    }
    Check(present.has_value() == length.has_value());

    std::optional<std::string> text;
    try {
        text = payload.ReadText();
    } catch (const quillora::IoError&) {
    }
    Check(text.has_value() == length.has_value());

    if (length) {
        Check(*present == (*length > 0));
        Check(*text == expected.value_or(std::string()));
        Check(text->size() == (*length > 0 ? static_cast<std::size_t>(*length) : 0u));
    }

    // ReadInto into a buffer with room to spare: the text and then the untouched rest.
    constexpr char sentinel = '\x5A';
    const std::size_t needed = text ? text->size() : 0;
    std::string buffer(needed + 8, sentinel);
    try {
        payload.ReadInto(buffer);
        Check(text.has_value());
        Check(buffer.compare(0, needed, *text) == 0);
        Check(buffer.find_first_not_of(sentinel, needed) == std::string::npos);
    } catch (const quillora::IoError&) {
        Check(!text.has_value());
        Check(buffer.find_first_not_of(sentinel) == std::string::npos);
    }

    // One byte too few is refused and leaves the buffer alone.
    if (needed > 0) {
        std::string small(needed - 1, sentinel);
        bool refused = false;
        try {
            payload.ReadInto(small);
        } catch (const quillora::IoError&) {
            refused = true;
        }
        Check(refused);
        Check(small.find_first_not_of(sentinel) == std::string::npos);
    }
    return 0;
}
