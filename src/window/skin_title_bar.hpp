#pragma once

#include <memory>

namespace Gtk {
class HeaderBar;
class Widget;
class Window;
}  // namespace Gtk

namespace quillora {

class GradientCaption;
class SkinEngine;
class WindowFrame;

// `SkinCaption`: the skin engine's caption part. Switched on while a skin is loaded and the
// gradient caption is off, it gives the window a title bar of its own, so that the skin draws
// the caption like the rest of the window; the title bar's buttons follow the frame buttons.
// Without a skin the window manager keeps drawing the frame.
class SkinTitleBar {
public:
    SkinTitleBar(Gtk::Window& window, WindowFrame& frame, const GradientCaption& gradient,
                const SkinEngine& skin);
    ~SkinTitleBar();

    void SwitchOn();
    bool Active() const { return active_; }
    // The title bar while it is installed (for tests), else null.
    Gtk::Widget* TitleBar() const;

private:
    void UpdateButtons();

    Gtk::Window& window_;
    WindowFrame& frame_;
    const GradientCaption& gradient_;
    const SkinEngine& skin_;
    std::unique_ptr<Gtk::HeaderBar> bar_;
    bool active_ = false;
};

}  // namespace quillora
