#include "window/window_frame.hpp"

#include <string>

#include "window/work_area.hpp"

namespace quillora {

ScreenSize PrimaryScreenSize()
{
    GdkMonitor* monitor = PrimaryMonitor();
    if (monitor == nullptr) {
        return {};
    }
    GdkRectangle area;
    gdk_monitor_get_geometry(monitor, &area);
    return {area.width, area.height};
}

void InstallTitleBar(GtkWindow* window, GtkWidget* title_bar)
{
    const char* title = gtk_window_get_title(window);
    const std::string caption = title != nullptr ? title : "";
    gtk_window_set_titlebar(window, title_bar);
    gtk_window_set_title(window, caption.c_str());
    gtk_widget_show(title_bar);
}

WindowFrame::WindowFrame(GtkWindow* window)
    : window_(window)
    ,
    // Runs after GTK's own realize, which sets hints of its own that ours must replace.
    realized_(Connect<void(GtkWidget*)>(
        window, "realize", [this](GtkWidget*) { ApplyHints(); },
        /*after=*/true))
{}

void WindowFrame::SetStyle(FrameStyle style)
{
    style_ = style;
    gtk_window_set_decorated(window_, style != FrameStyle::None);
    gtk_window_set_resizable(window_, style == FrameStyle::Sizeable || style == FrameStyle::SizeableToolWindow);
    ApplyHints();
    signal_changed.Emit();
}

void WindowFrame::SetButtons(FrameButtons buttons)
{
    buttons_ = buttons;
    gtk_window_set_deletable(window_, buttons.window_menu);
    ApplyHints();
    signal_changed.Emit();
}

void WindowFrame::SetState(WindowState state)
{
    state_ = state;
    if (state == WindowState::Maximized) {
        gtk_window_maximize(window_);
    } else {
        gtk_window_unmaximize(window_);
    }
}

void WindowFrame::ApplyHints()
{
    GdkWindow* gdk_window = gtk_widget_get_window(GTK_WIDGET(window_));
    if (gdk_window == nullptr || style_ == FrameStyle::None) {
        return;  // not realised yet (the realize handler comes back), or no frame to decorate
    }
    const bool sizeable = gtk_window_get_resizable(window_) != FALSE;
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
    gdk_window_set_functions(gdk_window, static_cast<GdkWMFunction>(functions));
    gdk_window_set_decorations(gdk_window, static_cast<GdkWMDecoration>(decorations));
}

}  // namespace quillora
