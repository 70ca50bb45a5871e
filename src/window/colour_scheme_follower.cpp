#include "window/colour_scheme_follower.hpp"

namespace quillora {

namespace {

constexpr const char* DarkVariantProperty = "gtk-application-prefer-dark-theme";

}  // namespace

ColourSchemeFollower::ColourSchemeFollower() : settings_(gtk_settings_get_default())
{
    g_object_get(settings_, DarkVariantProperty, &toolkit_choice_, nullptr);
    Apply(desktop_.Current());
}

ColourSchemeFollower::~ColourSchemeFollower()
{
    g_object_set(settings_, DarkVariantProperty, toolkit_choice_, nullptr);
}

void ColourSchemeFollower::Apply(ColourScheme scheme)
{
    const std::optional<bool> dark = DarkVariantFor(scheme);
    const gboolean wanted = dark.has_value() ? static_cast<gboolean>(*dark) : toolkit_choice_;
    gboolean now = FALSE;
    g_object_get(settings_, DarkVariantProperty, &now, nullptr);
    if (now != wanted) g_object_set(settings_, DarkVariantProperty, wanted, nullptr);
}

}  // namespace quillora
