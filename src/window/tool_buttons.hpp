#pragma once

#include "actions/tool_commands.hpp"

namespace quillora {

class Tform_apresentacao;

// The member a tool-bar command's click runs: the column of ToolCommands that only the window
// knows. The action language, the reader keys and the buttons themselves call it.
using ClickMember = void (Tform_apresentacao::*)();
[[nodiscard]] ClickMember ClickMemberOf(ToolButton button);

}  // namespace quillora
