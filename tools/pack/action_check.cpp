#include "action_check.hpp"

#include <optional>
#include <utility>

#include "actions/action_text.hpp"
#include "actions/command_table.hpp"
#include "edit_distance.hpp"

namespace quillora::pack {
namespace {

bool IsKnown(std::string_view word)
{
    return FindCommand(word).has_value();
}

// The known word nearest to a misspelt one: at most two letters off, the first found among
// equals. The lengths alone rule out most words before any comparison.
std::optional<std::string_view> ClosestCommandWord(std::string_view word)
{
    std::optional<std::string_view> best;
    std::size_t best_distance = 3;
    for (const auto& entry : CommandWords) {
        if (LengthGap(entry.word, word) < best_distance) {
            const std::size_t distance = EditDistance(entry.word, word);
            if (distance < best_distance) {
                best = entry.word;
                best_distance = distance;
            }
        }
    }
    return best;
}

}  // namespace

std::string CommandWordHint(std::string_view word)
{
    // The "()" that a word has or lacks is the commonest slip, and says what the author meant.
    std::string other = word.ends_with("()") ? std::string(word.substr(0, word.size() - 2)) : std::string(word) + "()";
    if (IsKnown(other)) {
        return " (did you mean " + other + "?)";
    }
    const auto closest = ClosestCommandWord(word);
    return closest ? " (did you mean " + std::string(*closest) + "?)" : "";
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
