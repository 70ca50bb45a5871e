#include "runtime_image.hpp"

#include <cerrno>
#include <fstream>
#include <span>
#include <system_error>

#include "common/error.hpp"
#include "payload/payload_trailer.hpp"

namespace quillora::pack {

std::string BareRuntimeImage(std::string bytes, std::string_view name)
{
    if (bytes.empty()) {
        throw quillora::Error("the runtime " + std::string(name) + " is empty");
    }
    if (bytes.size() <= PayloadTrailer::Size) {
        return bytes;  // too short to carry a payload
    }
    const auto* tail = reinterpret_cast<const unsigned char*>(bytes.data() + bytes.size() - PayloadTrailer::Size);
    const auto trailer =
        DecodeTrailer(std::span<const unsigned char, PayloadTrailer::Size>(tail, PayloadTrailer::Size));
    if (!trailer.SignatureMatches()) {
        return bytes;
    }
    const auto text_end = static_cast<std::int64_t>(bytes.size() - PayloadTrailer::Size);
    const std::int64_t length = trailer.data_length > 0 ? trailer.data_length : 0;
    if (trailer.data_offset < 0 || std::int64_t{trailer.data_offset} + length != text_end) {
        throw quillora::Error("the runtime " + std::string(name) +
                              " carries e-book settings that do not end at its trailer; "
                              "give the bare runtime with --runtime");
    }
    bytes.resize(static_cast<std::size_t>(trailer.data_offset));
    return bytes;
}

std::string ReadRuntimeImage(const std::filesystem::path& runtime)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(runtime, error)) {
        const bool missing = !std::filesystem::exists(runtime, error);
        throw quillora::Error("the runtime " + runtime.string() +
                              (missing ? " does not exist" : " is not a regular file"));
    }
    const auto size = std::filesystem::file_size(runtime, error);
    std::string bytes(error ? 0 : static_cast<std::size_t>(size), '\0');
    std::ifstream in(runtime, std::ios::binary);
    if (error || !in || !in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
        throw quillora::Error("cannot read the runtime " + runtime.string() + ": " +
                              (error ? error.message() : std::generic_category().message(errno)));
    }
    return BareRuntimeImage(std::move(bytes), runtime.string());
}

}  // namespace quillora::pack
