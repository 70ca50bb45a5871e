#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace quillora {

// The 24-byte record at the very end of a file that carries a payload: the signature, then
// data_offset and data_length as signed 32-bit little-endian integers.
struct PayloadTrailer {
    static constexpr std::size_t Size = 24;
    static constexpr std::size_t SignatureSize = 16;

    std::array<unsigned char, SignatureSize> signature{};
    std::int32_t data_offset = 0;
    std::int32_t data_length = 0;

    bool SignatureMatches() const;
};

// The trailer signature as it stands on disk: the GUID {9FABA105-EDA8-45C3-89F4-369315A947EB}
// as three little-endian groups followed by its last 8 bytes as written.
inline constexpr unsigned char PayloadSignature[PayloadTrailer::SignatureSize] = {
    0x05, 0xA1, 0xAB, 0x9F, 0xA8, 0xED, 0xC3, 0x45, 0x89, 0xF4, 0x36, 0x93, 0x15, 0xA9, 0x47, 0xEB};

PayloadTrailer DecodeTrailer(std::span<const unsigned char, PayloadTrailer::Size> bytes);
std::array<unsigned char, PayloadTrailer::Size> EncodeTrailer(const PayloadTrailer& trailer);

// Where the text lies in the file.
struct PayloadTextRange {
    std::int64_t offset = 0;
    std::int32_t length = 0;
};

// The text that a trailer with a matching signature describes in a file of `file_size` bytes.
// No text (nullopt) when data_length is 0 or negative. A text that cannot be in the file fails
// here, before anyone sizes a buffer by data_length:
//   - a negative data_offset: "The book's payload trailer is damaged (data_offset -5): I/O error
//     22" (the error number is what a positioned read at that place answers);
//   - a text that would run into the trailer or past the end of the file, however large the
//     numbers (the sum is formed in 64 bits): "Read beyond end of file".
// A text that starts anywhere else before the trailer, even inside the executable image, is
// accepted: the reader relies on nothing but the two numbers.
std::optional<PayloadTextRange> LocateText(const PayloadTrailer& trailer, std::int64_t file_size);

}  // namespace quillora
