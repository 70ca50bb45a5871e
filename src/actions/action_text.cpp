#include "actions/action_text.hpp"

#include "common/ascii_case.hpp"
#include "payload/text_encoding.hpp"

namespace quillora {
namespace {

constexpr std::string_view CommandSeparator = "-@-";
constexpr std::size_t MaxCommandLength = 255;

// A byte in 33..126 is a whole ASCII character: no byte of a multi-byte UTF-8 character is in
// that range, so trimming byte by byte removes non-ASCII characters whole.
bool IsCommandCharacter(char c)
{
    const auto code = static_cast<unsigned char>(c);
    return code >= 33 && code <= 126;
}

}  // namespace

std::vector<std::string> SplitCommands(std::string_view action)
{
    std::vector<std::string> commands;
    for (auto at = action.find(CommandSeparator); at != std::string_view::npos; at = action.find(CommandSeparator)) {
        commands.emplace_back(action.substr(0, at));
        action.remove_prefix(at + CommandSeparator.size());
    }
    if (!action.empty()) {
        commands.emplace_back(action);
    }
    return commands;
}

std::string CleanCommand(std::string_view command)
{
    std::size_t start = 0;
    while (start < command.size() && !IsCommandCharacter(command[start])) {
        ++start;
    }
    std::string cleaned = Utf8Prefix(command.substr(start), MaxCommandLength);
    while (!cleaned.empty() && !IsCommandCharacter(cleaned.back())) {
        cleaned.pop_back();
    }
    return cleaned;
}

std::string NthItem(int n, std::string_view separator, std::string_view text)
{
    text = text.substr(0, text.find('\0'));
    int item = 1;
    std::size_t start = 0;
    std::size_t at = 0;
    // Each separator and each line break closes the item that `start` opened.
    const auto close_item = [&](std::size_t length) {
        const bool found = item == n;
        if (!found) {
            ++item;
            at += length;
            start = at;
        }
        return found;
    };
    while (at < text.size()) {
        if (!separator.empty() && StartsWithIgnoringCase(text.substr(at), separator)) {
            if (close_item(separator.size())) break;
        } else if (text[at] == '\r') {
            if (close_item(text.substr(at, 2) == "\r\n" ? 2 : 1)) break;
        } else if (text[at] == '\n') {
            if (close_item(1)) break;
        } else {
            ++at;
        }
    }
    // Item n ends where the scan stopped; past the last break only a non-empty rest is an item.
    return item == n ? std::string(text.substr(start, at - start)) : std::string();
}

std::string CommandWord(std::string_view command)
{
    std::string word = NthItem(1, " ", command);
    for (char& c : word) {
        c = AsciiUpper(c);
    }
    return word;
}

std::string TextBetween(std::string_view text, char c)
{
    const auto first = text.find(c);
    if (first == std::string_view::npos) {
        return std::string(text);
    }
    const auto last = text.rfind(c);
    if (last == first) {
        return std::string();
    }
    return std::string(text.substr(first + 1, last - first - 1));
}

std::string QuotedParameter(int n, std::string_view command)
{
    return TextBetween(NthItem(n, "==", command), '"');
}

}  // namespace quillora
