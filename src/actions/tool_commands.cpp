#include "actions/tool_commands.hpp"

namespace quillora {

using Key = ShortcutCommand;

const ToolCommand& ToolCommandOf(ToolButton button)
{
    return ToolCommands[static_cast<std::size_t>(button)];
}

const ToolCommand* ToolCommandOfKey(ShortcutCommand key)
{
    if (key == Key::None) return nullptr;
    for (const auto& command : ToolCommands) {
        if (command.reader_key == key) return &command;
    }
    return nullptr;
}

std::optional<ToolButton> FindButtonName(std::string_view name)
{
    for (const auto& command : ToolCommands) {
        if (!command.action_name.empty() && command.action_name == name) return command.button;
    }
    return std::nullopt;
}

}  // namespace quillora
