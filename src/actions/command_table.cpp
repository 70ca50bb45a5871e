#include "actions/command_table.hpp"

namespace quillora {

std::optional<Command> FindCommand(std::string_view word)
{
    for (const auto& entry : CommandWords) {
        if (entry.word == word) {
            return entry.command;
        }
    }
    return std::nullopt;
}

}  // namespace quillora
