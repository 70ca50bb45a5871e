#pragma once

#include <string>

namespace quillora {

// The window's non-visual components with the defaults the window description gives them.
// Each one's behaviour lives in its own unit; these hold the state the settings change.

// `SkinColecao`: the sixteen stored skins, SkinItem0 to SkinItem15.
struct SkinCollectionComponent {
    static constexpr int Count = 16;
    static std::string ItemName(int index) { return "SkinItem" + std::to_string(index); }
};

}  // namespace quillora
