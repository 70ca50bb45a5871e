#pragma once

#include <memory>
#include <string>

#include <gtkmm/headerbar.h>

#include "window/caption_font.hpp"
#include "window/caption_geometry.hpp"

namespace Gtk {
class Window;
}

namespace quillora {

class WindowFrame;

// `gradiente`: paints the window's caption bar with a colour gradient from StartColor to the
// theme's caption colour, with the window's icon and FormCaption in its own font. While Active
// the window gets a title bar of its own (drawn here with cairo); while not, the window
// manager's frame is back. The close, minimise and maximise buttons follow the frame buttons.
class GradientCaption {
public:
    GradientCaption(Gtk::Window& window, WindowFrame& frame);
    ~GradientCaption();

    bool Active = false;
    std::string FormCaption = "Título";
    std::int32_t StartColor = SystemColourValue(system_colour::WindowText);
    int GradientSteps = DefaultGradientSteps;
    bool GradientActive = true;
    bool GradientInactive = false;
    CaptionFont Font{.name = "", .size = 0, .colour = SystemColourValue(system_colour::CaptionText),
                     .bold = true};
    std::int32_t FontInactiveColor = SystemColourValue(system_colour::InactiveCaptionText);

    // Takes the properties above into effect: installs or removes the title bar and repaints.
    void Update();
    // The title bar while Active (for tests), else null.
    Gtk::Widget* TitleBar() const;

private:
    class Bar;
    bool OnDraw(const Cairo::RefPtr<Cairo::Context>& cr);
    void UpdateButtons();

    Gtk::Window& window_;
    WindowFrame& frame_;
    std::unique_ptr<Bar> bar_;
    bool installed_ = false;
};

}  // namespace quillora
