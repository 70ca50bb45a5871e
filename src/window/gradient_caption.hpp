#pragma once

#include <gtk/gtk.h>

#include <string>

#include "appearance/caption_font.hpp"
#include "appearance/caption_geometry.hpp"
#include "common/event_signal.hpp"
#include "common/gobject_ptr.hpp"
#include "common/signal_connection.hpp"

namespace quillora {

class WindowFrame;

// `gradiente`: paints the window's caption bar with a colour gradient from StartColor to the
// theme's caption colour, with the window's icon and FormCaption in its own font. While Active
// the window gets a title bar of its own (drawn here with cairo); while not, the window
// manager's frame is back. The close, minimise and maximise buttons follow the frame buttons.
class GradientCaption {
public:
    GradientCaption(GtkWindow* window, WindowFrame& frame);

    bool Active = false;
    std::string FormCaption = "Título";
    std::int32_t StartColor = SystemColourValue(system_colour::WindowText);
    int GradientSteps = DefaultGradientSteps;
    bool GradientActive = true;
    bool GradientInactive = false;
    CaptionFont Font{.name = "", .size = 0, .colour = SystemColourValue(system_colour::CaptionText), .bold = true};
    std::int32_t FontInactiveColor = SystemColourValue(system_colour::InactiveCaptionText);

    // Takes the properties above into effect: installs or removes the title bar and repaints.
    void Update();
    // Shows `caption` from now on, whether or not the caption is active.
    void ShowCaption(const std::string& caption);
    // The title bar while Active (for tests), else null.
    GtkWidget* TitleBar() const;

private:
    bool OnDraw(cairo_t* cr);
    void UpdateButtons();

    GtkWindow* window_;
    WindowFrame& frame_;
    // The title bar: a header bar whose own background the style sheet makes transparent, so
    // that the gradient painted beneath its buttons shows.
    GObjectPtr<GtkWidget> bar_;
    SignalConnection drawn_;
    SignalConnection activated_;
    EventConnection frame_changed_;
    bool installed_ = false;
};

}  // namespace quillora
