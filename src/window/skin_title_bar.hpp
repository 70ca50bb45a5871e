#pragma once

#include <gtk/gtk.h>

#include "common/event_signal.hpp"
#include "common/gobject_ptr.hpp"
#include "common/signal_connection.hpp"

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
    SkinTitleBar(GtkWindow* window, WindowFrame& frame, const GradientCaption& gradient, const SkinEngine& skin);

    void SwitchOn();
    bool Active() const { return active_; }
    // The title bar while it is installed (for tests), else null.
    GtkWidget* TitleBar() const { return bar_.get(); }

private:
    void UpdateButtons();

    GtkWindow* window_;
    WindowFrame& frame_;
    const GradientCaption& gradient_;
    const SkinEngine& skin_;
    GObjectPtr<GtkWidget> bar_;
    SignalConnection title_changed_;
    EventConnection frame_changed_;
    bool active_ = false;
};

}  // namespace quillora
