#include "window/skin_engine.hpp"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "appearance/skin_store.hpp"
#include "common/error.hpp"

namespace quillora {

static_assert(SkinEngine::Priority == GTK_STYLE_PROVIDER_PRIORITY_APPLICATION + 1);

namespace {

struct BytesDeleter {
    void operator()(GBytes* bytes) const { g_bytes_unref(bytes); }
};

// The text of a sheet compiled into the program, none when the resources do not have it.
std::optional<std::string> FoundResourceText(std::string_view path)
{
    const std::unique_ptr<GBytes, BytesDeleter> bytes(
        g_resources_lookup_data(std::string(path).c_str(), G_RESOURCE_LOOKUP_FLAGS_NONE, nullptr));
    if (!bytes) {
        return std::nullopt;
    }
    gsize size = 0;
    const auto* data = static_cast<const char*>(g_bytes_get_data(bytes.get(), &size));
    return std::string(data, size);
}

// The text of a sheet that the program always carries.
std::string ResourceText(std::string_view path)
{
    std::optional<std::string> text = FoundResourceText(path);
    if (!text) {
        throw Error("The program lacks its resource " + std::string(path));
    }
    return std::move(*text);
}

// The text of a look compiled into the program, none for a name the resources do not have.
std::optional<std::string> StoredLookText(std::string_view name)
{
    return FoundResourceText(std::string(SkinLooksPath) + std::string(name) + ".css");
}

}  // namespace

std::string StoredSkinSheet(const StoredSkin& skin)
{
    return ComposeSkinSheet(ResourceText(skin.resource_path), ResourceText(SharedSkinRulesPath), StoredLookText,
                            skin.name);
}

SkinEngine::SkinEngine(GdkScreen* screen) : screen_(screen) {}

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

    GObjectPtr<GtkCssProvider> sheet;
    if (selected) {
        sheet = GObjectPtr<GtkCssProvider>::Adopt(gtk_css_provider_new());
        const auto& skin = StoredSkins()[static_cast<size_t>(*selected)];
        const std::string text = StoredSkinSheet(skin);
        GError* error = nullptr;
        if (!gtk_css_provider_load_from_data(sheet.get(), text.data(), static_cast<gssize>(text.size()), &error)) {
            const GErrorPtr owned(error);
            throw Error("The skin " + std::string(skin.name) + " has a broken style sheet: " + owned->message);
        }
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
    if (installed_.get() == loaded_.get()) {
        return;
    }
    Uninstall();
    if (!loaded_) {
        return;
    }
    if (screen_ == nullptr) {
        screen_ = gdk_screen_get_default();
    }
    gtk_style_context_add_provider_for_screen(screen_, GTK_STYLE_PROVIDER(loaded_.get()), Priority);
    installed_ = loaded_;
}

void SkinEngine::Uninstall()
{
    if (installed_) {
        gtk_style_context_remove_provider_for_screen(screen_, GTK_STYLE_PROVIDER(installed_.get()));
        installed_.reset();
    }
}

}  // namespace quillora
