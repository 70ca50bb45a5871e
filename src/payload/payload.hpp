#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "payload/file_handle.hpp"
#include "payload/payload_trailer.hpp"

namespace quillora {

// The payload container: finds the 24-byte trailer at the end of a file (at start-up, the
// running executable) and hands out the settings text it locates. Every operation opens the
// file afresh (read-only, nobody else locked out), reads only the trailer and the text with
// positioned reads, and closes it again, also when it fails.
//
// A trailer whose signature matches but whose numbers cannot describe a text in this file
// (a negative data_offset, a text running into the trailer or past the end) fails in every
// operation, DataLength and IsPresent included, before any buffer is sized by data_length:
// "The book's payload trailer is damaged (data_offset N): I/O error 22" for the negative offset,
// "Read beyond end of file" otherwise.
class TPayload {
public:
    static constexpr std::size_t TrailerSize = PayloadTrailer::Size;
    static constexpr std::size_t SignatureSize = PayloadTrailer::SignatureSize;

    // Stores the file name; touches no file.
    explicit TPayload(std::string file_name);

    const std::string& FileName() const { return FileName_; }

    // True when DataLength() is greater than 0.
    bool IsPresent() const;
    // data_length of a trailer whose signature matches (0 or negative: no payload), otherwise 0.
    std::int32_t DataLength() const;
    // Reads the text into the first DataLength() bytes of `buffer`. A buffer too small for the
    // text is an IoError. Leaves the buffer untouched on every failure and when there is no
    // payload.
    void ReadInto(std::span<char> buffer) const;

    // The text itself, read with one opening of the file: empty when there is no payload.
    std::string ReadText() const;

private:
    using Trailer = PayloadTrailer;

    FileHandle OpenForReading() const;
    // False, with a zeroed record, for a file of 24 bytes or less; otherwise reads the last 24
    // bytes and tells whether the signature matches.
    static bool ReadTrailer(const FileHandle& file, Trailer& record);
    // Where the text of a matching trailer lies; nullopt when there is none.
    static std::optional<PayloadTextRange> FindText(const FileHandle& file);
    static std::string ReadRange(const FileHandle& file, const PayloadTextRange& range);

    std::string FileName_;
};

}  // namespace quillora
