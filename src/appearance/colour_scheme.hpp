#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace quillora {

// The reader's choice between light and dark, as the desktop states it.
enum class ColourScheme { NoPreference, PreferDark, PreferLight };

// The settings portal's `org.freedesktop.appearance color-scheme`: 1 dark, 2 light, 0 none;
// any other number is a value this program does not know, so no preference.
ColourScheme ColourSchemeFromPortal(std::uint32_t value);

// GNOME's `org.gnome.desktop.interface color-scheme`: "prefer-dark", "prefer-light" or "default".
ColourScheme ColourSchemeFromGnome(std::string_view value);

// Whether the toolkit's dark variant is asked for: true for dark, false for light, nothing to
// leave the toolkit's own setting as it was.
std::optional<bool> DarkVariantFor(ColourScheme scheme);

}  // namespace quillora
