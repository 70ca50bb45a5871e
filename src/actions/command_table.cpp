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

std::optional<ToolButton> FindButtonName(std::string_view name)
{
    for (const auto& entry : ButtonNames) {
        if (entry.name == name) {
            return entry.button;
        }
    }
    return std::nullopt;
}

}  // namespace quillora
