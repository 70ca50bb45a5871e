#include "action_check.hpp"

#include <utility>

#include "actions/action_text.hpp"
#include "actions/command_table.hpp"

namespace quillora::pack {
namespace {

bool IsKnown(std::string_view word)
{
    return FindCommand(word).has_value();
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
    // The words exactly as the runtime reads them, so that the check and the e-book agree.
    std::vector<std::string> unknown;
    for (const std::string& command : SplitCommands(action)) {
        std::string word = CommandWord(CleanCommand(command));
        if (!word.empty() && !IsKnown(word)) {
            unknown.push_back(std::move(word));
        }
    }
    return unknown;
}

}  // namespace quillora::pack
