#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace quillora {

// One of the skins compiled into the program: its name and its style sheet in the resources.
struct StoredSkin {
    std::string_view name;
    std::string_view resource_path;
};

// The skin store: sixteen skins, SkinItem0 to SkinItem15, in the order the settings count them.
inline constexpr int StoredSkinCount = 16;
const std::array<StoredSkin, StoredSkinCount>& StoredSkins();

// The stored skin that "load the stored skin at position `index`" selects: the skin itself for
// 0 to 15, none at or beyond the count (not an error: the engine then runs without a skin).
// A negative position throws "List index out of bounds (%d)".
std::optional<int> SelectStoredSkin(long long index);

}  // namespace quillora
