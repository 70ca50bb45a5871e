#include "window/skin_engine.hpp"

#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include <giomm/resource.h>
#include <gtkmm/cssprovider.h>
#include <gtkmm/stylecontext.h>

#include "window/skin_store.hpp"

namespace quillora {

static_assert(SkinEngine::Priority == GTK_STYLE_PROVIDER_PRIORITY_APPLICATION + 1);

namespace {

// The text of a sheet compiled into the program; a missing one throws Gio::ResourceError.
std::string ResourceText(std::string_view path)
{
    const Glib::RefPtr<const Glib::Bytes> bytes =
        Gio::Resource::lookup_data_global(std::string(path));
    gsize size = 0;
    const auto* data = static_cast<const char*>(bytes->get_data(size));
    return std::string(data, size);
}

// The text of a look compiled into the program, none for a name the resources do not have.
std::optional<std::string> StoredLookText(std::string_view name)
{
    try {
        return ResourceText(std::string(SkinLooksPath) + std::string(name) + ".css");
    } catch (const Gio::ResourceError&) {
        return std::nullopt;
    }
}

}  // namespace

std::string StoredSkinSheet(const StoredSkin& skin)
{
    return ComposeSkinSheet(ResourceText(skin.resource_path), ResourceText(SharedSkinRulesPath),
                            StoredLookText, skin.name);
}

SkinEngine::SkinEngine(Glib::RefPtr<Gdk::Screen> screen) : screen_(std::move(screen)) {}

SkinEngine::~SkinEngine()
{
    Uninstall();
}

int SkinEngine::Count() const
{
    return StoredSkinCount;
}

void SkinEngine::LoadSkin(int index)
{
    const std::optional<int> selected = SelectStoredSkin(index);

    Glib::RefPtr<Gtk::CssProvider> sheet;
    if (selected) {
        sheet = Gtk::CssProvider::create();
        const auto& skin = StoredSkins()[static_cast<size_t>(*selected)];
        sheet->load_from_data(StoredSkinSheet(skin));
    }
    loaded_ = sheet;
    loaded_index_ = selected.value_or(-1);
    if (active_) {
        Install();
    }
}

void SkinEngine::SwitchOn()
{
    active_ = true;
    Install();
}

void SkinEngine::SwitchOff()
{
    active_ = false;
    Uninstall();
}

// Puts the loaded sheet on the screen in place of whatever this engine had put there.
void SkinEngine::Install()
{
    if (installed_ == loaded_) {
        return;
    }
    Uninstall();
    if (!loaded_) {
        return;
    }
    if (!screen_) {
        screen_ = Gdk::Screen::get_default();
    }
    Gtk::StyleContext::add_provider_for_screen(screen_, loaded_, Priority);
    installed_ = loaded_;
}

void SkinEngine::Uninstall()
{
    if (installed_) {
        Gtk::StyleContext::remove_provider_for_screen(screen_, installed_);
        installed_.reset();
    }
}

}  // namespace quillora
