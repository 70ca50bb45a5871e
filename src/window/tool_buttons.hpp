#pragma once

#include <array>

namespace quillora {

class Tform_apresentacao;

// The ten tool-bar buttons with their click members, in the order of ToolButton (the action
// language's names for them).
struct ToolButtonHandler {
    const char* name;
    void (Tform_apresentacao::*click)();
};
const std::array<ToolButtonHandler, 10>& ToolButtonHandlers();

}  // namespace quillora
