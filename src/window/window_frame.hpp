#pragma once

#include <gtk/gtk.h>

#include "appearance/frame.hpp"
#include "appearance/window_placement.hpp"
#include "common/event_signal.hpp"
#include "common/signal_connection.hpp"

namespace quillora {

// Gives the window a title bar of its own. Installing one makes GTK name the window after the
// program; the window keeps its caption.
void InstallTitleBar(GtkWindow* window, GtkWidget* title_bar);

// The size of the primary monitor (the first one when none is marked primary).
ScreenSize PrimaryScreenSize();

// Frame style, frame buttons and window state on a GTK window. Frame buttons are window
// manager hints on the window's GDK window; they are set again whenever the window is
// realised anew, for instance after it got a title bar of its own.
class WindowFrame {
public:
    explicit WindowFrame(GtkWindow* window);

    void SetStyle(FrameStyle style);
    void SetButtons(FrameButtons buttons);
    void SetState(WindowState state);

    FrameStyle Style() const { return style_; }
    FrameButtons Buttons() const { return buttons_; }
    WindowState State() const { return state_; }

    // After every change of style or buttons.
    EventSignal<> signal_changed;

private:
    void ApplyHints();

    GtkWindow* window_;
    SignalConnection realized_;
    FrameStyle style_ = FrameStyle::Sizeable;
    FrameButtons buttons_{.window_menu = true, .minimize = true, .maximize = true};
    WindowState state_ = WindowState::Normal;
};

}  // namespace quillora
