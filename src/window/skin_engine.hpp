#pragma once

#include <gtk/gtk.h>

#include <string>

#include "common/gobject_ptr.hpp"

namespace quillora {

struct StoredSkin;

// The style sheet of a stored skin as the engine loads it: the skin's palette from its sheet in
// the resources, the rules all skins share, then the skin's own rules with the looks they ask
// for (see skin_rules.css). Throws quillora::Error for a look the resources do not have.
std::string StoredSkinSheet(const StoredSkin& skin);

// `SkinData`: draws the window (and every other window of the program) in one of the stored
// skins. A skin is a style sheet from the skin store; switching the engine on installs it on the
// screen above the base style, switching it off removes it again.
class SkinEngine {
public:
    // Skins go on top of the base style, which sits at the application priority.
    static constexpr unsigned int Priority = 600 + 1;  // GTK_STYLE_PROVIDER_PRIORITY_APPLICATION + 1

    // The engine skins `screen`; without one it takes the default screen when it is switched on.
    explicit SkinEngine(GdkScreen* screen = nullptr);
    ~SkinEngine();
    SkinEngine(const SkinEngine&) = delete;
    SkinEngine& operator=(const SkinEngine&) = delete;

    // The number of stored skins.
    int Count() const;

    // Loads the stored skin at `index` (from 0). At or beyond Count() no skin is loaded, which is
    // not an error; a negative index throws "List index out of bounds (%d)" and changes nothing.
    // While the engine is on, the new choice shows at once.
    void LoadSkin(int index);

    // Installs the loaded skin. Without a loaded skin nothing is drawn differently, but the
    // engine still counts as on. Switching on again changes nothing.
    void SwitchOn();
    // Removes the skin from the screen; the loaded skin stays loaded.
    void SwitchOff();

    bool Active() const { return active_; }
    // The position of the loaded skin, -1 for none.
    int LoadedSkin() const { return loaded_index_; }

private:
    void Install();
    void Uninstall();

    GdkScreen* screen_;                     // the display owns it
    GObjectPtr<GtkCssProvider> loaded_;     // the parsed sheet of the loaded skin
    GObjectPtr<GtkCssProvider> installed_;  // the sheet now on the screen, if any
    int loaded_index_ = -1;
    bool active_ = false;
};

}  // namespace quillora
