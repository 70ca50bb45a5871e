#include "search/page_encoding.hpp"

#include <algorithm>
#include <array>
#include <optional>

#include "common/ascii_case.hpp"

namespace quillora {

namespace {

// The engine's encoding for a page that declares none, or one it does not know.
constexpr const char* DefaultEncoding = "windows-1252";

// The charset a page names near its start (a meta element or an XML declaration), if any.
std::optional<std::string> DeclaredCharset(std::string_view html)
{
    const std::string head = AsciiLowerCopy(html.substr(0, 4096));
    for (const char* marker : {"charset=", "encoding="}) {
        std::size_t at = head.find(marker);
        if (at == std::string::npos) continue;
        at += std::string_view(marker).size();
        while (at < head.size() && (head[at] == '"' || head[at] == '\'' || head[at] == ' ')) ++at;
        const std::size_t end = head.find_first_of("\"'; >/\t\r\n", at);
        std::string name = head.substr(at, end == std::string::npos ? std::string::npos : end - at);
        if (!name.empty()) return name;
    }
    return std::nullopt;
}

// The charset the engine reads for a declared one: Windows-1252 for the charsets it extends;
// UTF-8 for UTF-16, since a declaration that could be read lies in bytes that are not UTF-16.
std::string EngineCharset(std::string declared)
{
    static constexpr std::array legacy{"iso-8859-1", "latin1",       "iso8859-1", "us-ascii",
                                       "ascii",      "windows-1252", "cp1252",    "l1"};
    if (std::find(legacy.begin(), legacy.end(), declared) != legacy.end()) return DefaultEncoding;
    if (declared.starts_with("utf-16")) return "utf-8";
    return declared;
}

struct Mark {
    std::string_view bytes;
    const char* encoding;
};
// Named rather than left to a declaration, which must not override the mark.
constexpr std::array Marks{Mark{"\xEF\xBB\xBF", "utf-8"}, Mark{"\xFF\xFE", "utf-16le"}, Mark{"\xFE\xFF", "utf-16be"}};

}  // namespace

DecodedPage DecodePage(std::string_view bytes)
{
    for (const auto& mark : Marks) {
        if (bytes.starts_with(mark.bytes)) {
            if (auto decoded = DecodeToUtf8(bytes.substr(mark.bytes.size()), mark.encoding)) {
                return {std::move(*decoded), mark.encoding, false};
            }
        }
    }
    if (const auto declared = DeclaredCharset(bytes)) {
        std::string encoding = EngineCharset(*declared);
        if (auto decoded = DecodeToUtf8(bytes, encoding)) {
            return {std::move(*decoded), std::move(encoding), false};
        }
    }
    return {*DecodeToUtf8(bytes, DefaultEncoding), DefaultEncoding, true};
}

}  // namespace quillora
