#include "payload/payload_writer.hpp"

#include <limits>

#include "common/error.hpp"
#include "payload/payload_trailer.hpp"

namespace quillora {

std::string MakeTrailer(std::int32_t data_offset, std::int32_t data_length)
{
    PayloadTrailer trailer;
    std::copy(std::begin(PayloadSignature), std::end(PayloadSignature), trailer.signature.begin());
    trailer.data_offset = data_offset;
    trailer.data_length = data_length;
    const auto bytes = EncodeTrailer(trailer);
    return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

std::string AppendPayload(std::string_view executable_image, std::string_view text)
{
    constexpr auto limit = static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());
    // The reader accepts a text only when it ends at or before the trailer, so the end of the
    // text must be expressible too, not just each number on its own.
    if (executable_image.size() > limit || text.size() > limit - executable_image.size()) {
        throw Error("The payload does not fit the trailer's 32-bit fields");
    }
    std::string result;
    result.reserve(executable_image.size() + text.size() + PayloadTrailer::Size);
    result.append(executable_image);
    result.append(text);
    result.append(
        MakeTrailer(static_cast<std::int32_t>(executable_image.size()), static_cast<std::int32_t>(text.size())));
    return result;
}

}  // namespace quillora
