#include "window/window_frame.hpp"

#include <gdkmm/monitor.h>
#include <gtkmm/window.h>

#include "window/work_area.hpp"

namespace quillora {

ScreenSize PrimaryScreenSize()
{
    const auto monitor = PrimaryMonitor();
    if (!monitor) {
        return {};
    }
    Gdk::Rectangle area;
    monitor->get_geometry(area);
    return {area.get_width(), area.get_height()};
}

void InstallTitleBar(Gtk::Window& window, Gtk::Widget& title_bar)
{
    const Glib::ustring caption = window.get_title();
    window.set_titlebar(title_bar);
    window.set_title(caption);
    title_bar.show();
}

WindowFrame::WindowFrame(Gtk::Window& window) : window_(window)
{
    // Runs after GTK's own realize, which sets hints of its own that ours must replace.
    window_.signal_realize().connect([this] { ApplyHints(); }, /*after=*/true);
}

void WindowFrame::SetStyle(FrameStyle style)
{
    style_ = style;
    window_.set_decorated(style != FrameStyle::None);
    window_.set_resizable(style == FrameStyle::Sizeable || style == FrameStyle::SizeableToolWindow);
    ApplyHints();
    signal_changed.emit();
}

void WindowFrame::SetButtons(FrameButtons buttons)
{
    buttons_ = buttons;
    window_.set_deletable(buttons.window_menu);
    ApplyHints();
    signal_changed.emit();
}

void WindowFrame::SetState(WindowState state)
{
    state_ = state;
    if (state == WindowState::Maximized) {
        window_.maximize();
    } else {
        window_.unmaximize();
    }
}

void WindowFrame::ApplyHints()
{
    const auto gdk_window = window_.get_window();
    if (!gdk_window || style_ == FrameStyle::None) {
        return;  // not realised yet (the realize handler comes back), or no frame to decorate
    }
    const bool sizeable = window_.get_resizable();
    int functions = GDK_FUNC_MOVE;
    int decorations = GDK_DECOR_BORDER | GDK_DECOR_TITLE;
    if (sizeable) {
        functions |= GDK_FUNC_RESIZE;
        decorations |= GDK_DECOR_RESIZEH;
    }
    if (buttons_.window_menu) {
        functions |= GDK_FUNC_CLOSE;
        decorations |= GDK_DECOR_MENU;
    }
    if (buttons_.minimize) {
        functions |= GDK_FUNC_MINIMIZE;
        decorations |= GDK_DECOR_MINIMIZE;
    }
    if (buttons_.maximize) {
        functions |= GDK_FUNC_MAXIMIZE;
        decorations |= GDK_DECOR_MAXIMIZE;
    }
    gdk_window_set_functions(gdk_window->gobj(), static_cast<GdkWMFunction>(functions));
    gdk_window_set_decorations(gdk_window->gobj(), static_cast<GdkWMDecoration>(decorations));
}

}  // namespace quillora
