#include "appearance/colour_scheme.hpp"

namespace quillora {

ColourScheme ColourSchemeFromPortal(std::uint32_t value)
{
    switch (value) {
    case 1: return ColourScheme::PreferDark;
    case 2: return ColourScheme::PreferLight;
    default: return ColourScheme::NoPreference;
    }
}

ColourScheme ColourSchemeFromGnome(std::string_view value)
{
    if (value == "prefer-dark") return ColourScheme::PreferDark;
    if (value == "prefer-light") return ColourScheme::PreferLight;
    return ColourScheme::NoPreference;
}

std::optional<bool> DarkVariantFor(ColourScheme scheme)
{
    switch (scheme) {
    case ColourScheme::PreferDark: return true;
    case ColourScheme::PreferLight: return false;
    case ColourScheme::NoPreference: break;
    }
    return std::nullopt;
}

}  // namespace quillora
