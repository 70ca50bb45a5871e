#include "window/skin_store.hpp"

#include "common/error.hpp"

namespace quillora {

const std::array<StoredSkin, StoredSkinCount>& StoredSkins()
{
    static constexpr std::array<StoredSkin, StoredSkinCount> skins{{
        {"Classic Silver", "/org/quillora/skins/skin00.css"},
        {"Graphite", "/org/quillora/skins/skin01.css"},
        {"Ocean", "/org/quillora/skins/skin02.css"},
        {"Forest", "/org/quillora/skins/skin03.css"},
        {"Sepia Paper", "/org/quillora/skins/skin04.css"},
        {"High Contrast", "/org/quillora/skins/skin05.css"},
        {"Rose", "/org/quillora/skins/skin06.css"},
        {"Amber", "/org/quillora/skins/skin07.css"},
        {"Midnight", "/org/quillora/skins/skin08.css"},
        {"Mint", "/org/quillora/skins/skin09.css"},
        {"Slate", "/org/quillora/skins/skin10.css"},
        {"Sand", "/org/quillora/skins/skin11.css"},
        {"Ruby", "/org/quillora/skins/skin12.css"},
        {"Arctic", "/org/quillora/skins/skin13.css"},
        {"Terminal", "/org/quillora/skins/skin14.css"},
        {"Royal", "/org/quillora/skins/skin15.css"},
    }};
    return skins;
}

std::optional<int> SelectStoredSkin(long long index)
{
    if (index < 0) {
        throw ListIndexOutOfBounds(index);
    }
    if (index >= StoredSkinCount) {
        return std::nullopt;
    }
    return static_cast<int>(index);
}

}  // namespace quillora
