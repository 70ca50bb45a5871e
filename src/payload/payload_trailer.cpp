#include "payload/payload_trailer.hpp"

#include <algorithm>
#include <cerrno>
#include <iterator>
#include <string>

#include "common/error.hpp"

namespace quillora {

namespace {

std::int32_t ReadInt32LittleEndian(const unsigned char* bytes)
{
    const std::uint32_t value = static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
                                (static_cast<std::uint32_t>(bytes[2]) << 16) |
                                (static_cast<std::uint32_t>(bytes[3]) << 24);
    return static_cast<std::int32_t>(value);
}

void WriteInt32LittleEndian(std::int32_t signed_value, unsigned char* bytes)
{
    const auto value = static_cast<std::uint32_t>(signed_value);
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<unsigned char>((value >> (8 * i)) & 0xFFu);
    }
}

}  // namespace

bool PayloadTrailer::SignatureMatches() const
{
    return std::equal(signature.begin(), signature.end(), std::begin(PayloadSignature));
}

PayloadTrailer DecodeTrailer(std::span<const unsigned char, PayloadTrailer::Size> bytes)
{
    PayloadTrailer trailer;
    std::copy_n(bytes.begin(), PayloadTrailer::SignatureSize, trailer.signature.begin());
    trailer.data_offset = ReadInt32LittleEndian(bytes.data() + 16);
    trailer.data_length = ReadInt32LittleEndian(bytes.data() + 20);
    return trailer;
}

std::array<unsigned char, PayloadTrailer::Size> EncodeTrailer(const PayloadTrailer& trailer)
{
    std::array<unsigned char, PayloadTrailer::Size> bytes{};
    std::copy(trailer.signature.begin(), trailer.signature.end(), bytes.begin());
    WriteInt32LittleEndian(trailer.data_offset, bytes.data() + 16);
    WriteInt32LittleEndian(trailer.data_length, bytes.data() + 20);
    return bytes;
}

std::optional<PayloadTextRange> LocateText(const PayloadTrailer& trailer, std::int64_t file_size)
{
    if (trailer.data_length <= 0) {
        return std::nullopt;
    }
    if (trailer.data_offset < 0) {
        // A position before the start of the file: the error a read there gives, with what
        // it means for the book.
        throw IoError("The book's payload trailer is damaged (data_offset " + std::to_string(trailer.data_offset) +
                      "): " + IoErrorFromErrno(EINVAL).what());
    }
    const std::int64_t trailer_start = file_size - static_cast<std::int64_t>(PayloadTrailer::Size);
    const std::int64_t text_end =
        static_cast<std::int64_t>(trailer.data_offset) + static_cast<std::int64_t>(trailer.data_length);
    if (text_end > trailer_start) {
        throw IoError(ReadBeyondEndOfFileText);
    }
    return PayloadTextRange{trailer.data_offset, trailer.data_length};
}

}  // namespace quillora
