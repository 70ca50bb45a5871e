#include "book/book_file_access.hpp"

#include <cctype>
#include <set>
#include <vector>

namespace quillora {

namespace {

// The text as a pattern that matches only itself, written inside a JSON string: a regular
// expression escape is a backslash, which JSON writes as two.
std::string LiteralPattern(std::string_view text)
{
    std::string pattern;
    for (const char c : text) {
        if (std::string_view(".*+?^$()[]{}|\\/").find(c) != std::string_view::npos) {
            pattern += "\\\\";
        }
        if (c == '"') {
            pattern += "\\";
        }
        pattern += c;
    }
    return pattern;
}

std::string Rule(const std::string& pattern, std::string_view action, bool case_sensitive = false)
{
    return "{\"trigger\":{\"url-filter\":\"" + pattern + "\"" +
           (case_sensitive ? ",\"url-filter-is-case-sensitive\":true" : "") + "},\"action\":{\"type\":\"" +
           std::string(action) + "\"}}";
}

// True for the characters the engine leaves as they are in the path of an address it has read:
// every other byte reaches the rules escaped, whichever way the page wrote it (a "\\" becomes "/").
bool KeptLiterally(unsigned char c)
{
    return c > 0x20 && c < 0x7F &&
           std::string_view("\"#%<>?\\^`{}").find(static_cast<char>(c)) == std::string_view::npos;
}

std::string Escape(unsigned char c)
{
    constexpr char Hex[] = "0123456789ABCDEF";
    return {'%', Hex[c >> 4], Hex[c & 0xF]};
}

// A path inside the book as the engine writes it in an address. A "%" in a name can be written
// as "%" or "%25", so then only the address up to it is known (`whole` is false).
struct EngineAddress {
    std::string text;
    bool whole = true;
};

EngineAddress EngineAddressOf(std::string_view relative)
{
    EngineAddress address;
    for (const char c : relative) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '%') {
            address.whole = false;
            break;
        }
        address.text += KeptLiterally(byte) ? std::string(1, c) : Escape(byte);
    }
    return address;
}

}  // namespace

std::string BookFileAccessRules(std::string_view folder_uri, const BookLinks& links)
{
    const std::string folder = "^" + LiteralPattern(folder_uri);
    // A path with a letter in another case may name another file; on a file system that ignores
    // case it names the same one, and then the rule refuses too much, never too little.
    std::string rules = "[" + Rule("^file:", "block") + "," + Rule(folder, "ignore-previous-rules", true);
    // Escapes in the query or after "#" never reach the file loader.
    const auto block_escape = [&](unsigned char c) { rules += "," + Rule(folder + "[^?#]*" + Escape(c), "block"); };
    for (const unsigned char c : {'/', '\\', '.', '\0'}) {
        block_escape(c);
    }
    if (links.leading_out.empty()) {
        return rules + "]";
    }
    // Through a link to a folder inside, a link that leads out has another address.
    std::vector<std::string> blocked = links.leading_out;
    blocked.insert(blocked.end(), links.folders_inside.begin(), links.folders_inside.end());
    std::set<unsigned char> spelled;
    for (const std::string& path : blocked) {
        for (const char c : path) {
            const auto byte = static_cast<unsigned char>(c);
            if (KeptLiterally(byte) && c != '/' && c != '.') {
                spelled.insert(byte);
                // A file system that ignores case finds the name in either case.
                spelled.insert(static_cast<unsigned char>(std::toupper(byte)));
                spelled.insert(static_cast<unsigned char>(std::tolower(byte)));
            }
        }
    }
    for (const unsigned char c : spelled) {
        block_escape(c);
    }
    for (const std::string& path : blocked) {
        const EngineAddress address = EngineAddressOf(path);
        const std::string link = folder + LiteralPattern(address.text);
        if (!address.whole) {
            rules += "," + Rule(link, "block");
        } else {
            rules += "," + Rule(link + "$", "block") + "," + Rule(link + "[/?#]", "block");
        }
    }
    return rules + "]";
}

}  // namespace quillora
