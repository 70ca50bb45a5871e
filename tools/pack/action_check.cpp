#include "action_check.hpp"

#include <array>

namespace quillora::pack {
namespace {

constexpr std::array<std::string_view, 33> KnownWords = {
    "MESSAGE", "APPLICATIONTITLE", "APPLICATIONEXIT()", "APPLICATIONMAXIMIZE()",
    "APPLICATIONMINIMIZE()", "LOADHTML", "DESABILITARMENU", "WEBHOME()", "WEBBACK()", "WEBNEXT()",
    "WEBREFRESH()", "WEBSTOP", "WEBSELECTALL()", "WEBSELECTIONCOPY()", "WEBPRINTPAGE()",
    "SHOWFORMABOUT()", "HIDESTATUSBAR()", "SHOWSTATUSBAR()", "SHOWBUTTONSNAVIGATIONS()",
    "HIDEBUTTONSNAVIGATIONS()", "ENABLEBUTTONNAVIGATION", "DISABLEBUTTONNAVIGATION",
    "SHOWORHIDEBUTTONSNAVIGATIONS()", "SHOWORHIDESTATUSBAR()", "DISABLEMENUITEM", "DELETEMENUITEM",
    "ENABLEMENUITEM", "RENAMEMENUITEM", "WEBLINK", "SENDEMAIL", "WEBPRINTPREVIEW()",
    "WEBPAGESETUP()", "EXECUTEOROPENFILE"};

bool IsPrintable(char c)
{
    const auto code = static_cast<unsigned char>(c);
    return code >= 33 && code <= 126;
}

// The command word as the runtime takes it: ends trimmed of everything but printable ASCII,
// the text up to the first blank or line break, a..z in capitals.
std::string CommandWord(std::string_view command)
{
    while (!command.empty() && !IsPrintable(command.front())) {
        command.remove_prefix(1);
    }
    while (!command.empty() && !IsPrintable(command.back())) {
        command.remove_suffix(1);
    }
    std::string word(command.substr(0, command.find_first_of(" \r\n")));
    for (char& c : word) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return word;
}

bool IsKnown(std::string_view word)
{
    for (const auto known : KnownWords) {
        if (word == known) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::string CommandWordHint(std::string_view word)
{
    std::string other = word.ends_with("()") ? std::string(word.substr(0, word.size() - 2))
                                             : std::string(word) + "()";
    return IsKnown(other) ? " (did you mean " + other + "?)" : "";
}

std::vector<std::string> UnknownCommandWords(std::string_view action)
{
    constexpr std::string_view separator = "-@-";
    std::vector<std::string> unknown;
    const auto check = [&](std::string_view command) {
        const std::string word = CommandWord(command);
        if (!word.empty() && !IsKnown(word)) {
            unknown.push_back(word);
        }
    };
    for (;;) {
        const auto at = action.find(separator);
        if (at == std::string_view::npos) {
            break;
        }
        check(action.substr(0, at));
        action.remove_prefix(at + separator.size());
    }
    check(action);
    return unknown;
}

}  // namespace quillora::pack
