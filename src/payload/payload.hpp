#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace quillora {

class FileHandle;

// The payload container: finds the 24-byte trailer at the end of a file (at start-up, the
// running executable) and hands out the settings text it locates. Every operation opens the
// file afresh, reads only the trailer and the text with positioned reads, and closes it again.
class TPayload {
public:
    static constexpr std::size_t TrailerSize = 24;
    static constexpr std::size_t SignatureSize = 16;

    // Stores the file name; touches no file.
    explicit TPayload(std::string file_name);

    const std::string& FileName() const { return FileName_; }

    // True when DataLength() is greater than 0.
    bool IsPresent() const;
    // data_length of a trailer whose signature matches, otherwise 0.
    std::int32_t DataLength() const;
    // Reads the text into `buffer`, which must hold at least DataLength() bytes. Leaves the
    // buffer untouched on every failure and when there is no payload.
    void ReadInto(std::span<char> buffer) const;

    // Convenience for callers that want the text itself: empty when there is no payload.
    std::string ReadText() const;

private:
    struct Trailer {
        unsigned char signature[SignatureSize];
        std::int32_t data_offset;
        std::int32_t data_length;
    };

    FileHandle OpenForReading() const;
    static bool ReadTrailer(const FileHandle& file, Trailer& record);

    std::string FileName_;
};

// The trailer signature as it stands on disk.
extern const unsigned char PayloadSignature[TPayload::SignatureSize];

}  // namespace quillora
