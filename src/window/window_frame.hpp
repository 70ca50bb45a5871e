#pragma once

#include <sigc++/signal.h>

#include "window/frame.hpp"
#include "window/window_placement.hpp"

namespace Gtk {
class Widget;
class Window;
}  // namespace Gtk

namespace quillora {

// Gives the window a title bar of its own. Installing one makes GTK name the window after the
// program; the window keeps its caption.
void InstallTitleBar(Gtk::Window& window, Gtk::Widget& title_bar);

// The size of the primary monitor (the first one when none is marked primary).
ScreenSize PrimaryScreenSize();

// Frame style, frame buttons and window state on a GTK window. Frame buttons are window
// manager hints on the window's GDK window; they are set again whenever the window is
// realised anew, for instance after it got a title bar of its own.
class WindowFrame {
public:
    explicit WindowFrame(Gtk::Window& window);

    void SetStyle(FrameStyle style);
    void SetButtons(FrameButtons buttons);
    void SetState(WindowState state);

    FrameStyle Style() const { return style_; }
    FrameButtons Buttons() const { return buttons_; }
    WindowState State() const { return state_; }

    // After every change of style or buttons.
    sigc::signal<void()> signal_changed;

private:
    void ApplyHints();

    Gtk::Window& window_;
    FrameStyle style_ = FrameStyle::Sizeable;
    FrameButtons buttons_{.window_menu = true, .minimize = true, .maximize = true};
    WindowState state_ = WindowState::Normal;
};

}  // namespace quillora
