#include "window/skin_title_bar.hpp"

#include <string>

#include "appearance/decoration_layout.hpp"
#include "window/gradient_caption.hpp"
#include "window/skin_engine.hpp"
#include "window/window_frame.hpp"

namespace quillora {

SkinTitleBar::SkinTitleBar(GtkWindow* window, WindowFrame& frame, const GradientCaption& gradient,
                           const SkinEngine& skin)
    : window_(window)
    , frame_(frame)
    , gradient_(gradient)
    , skin_(skin)
{}

void SkinTitleBar::SwitchOn()
{
    active_ = true;
    if (bar_ || gradient_.Active || skin_.LoadedSkin() < 0) {
        return;  // the gradient caption paints the caption itself; without a skin, the frame stays
    }
    bar_ = GObjectPtr<GtkWidget>::Sink(gtk_header_bar_new());
    GtkHeaderBar* header = GTK_HEADER_BAR(bar_.get());
    gtk_widget_set_name(bar_.get(), "SkinCaption");
    gtk_header_bar_set_show_close_button(header, TRUE);
    gtk_header_bar_set_title(header, gtk_window_get_title(window_));
    InstallTitleBar(window_, bar_.get());
    title_changed_ = Connect<void(GtkWindow*, GParamSpec*)>(window_, "notify::title", [this](GtkWindow*, GParamSpec*) {
        gtk_header_bar_set_title(GTK_HEADER_BAR(bar_.get()), gtk_window_get_title(window_));
    });
    frame_changed_ = frame_.signal_changed.Connect([this] { UpdateButtons(); });
    UpdateButtons();
}

void SkinTitleBar::UpdateButtons()
{
    GtkHeaderBar* header = GTK_HEADER_BAR(bar_.get());
    const std::string layout = DecorationLayoutFor(frame_.Style(), frame_.Buttons());
    const char* current = gtk_header_bar_get_decoration_layout(header);
    // Setting the layout rebuilds the buttons, so only a change is set.
    if (current == nullptr || current != layout) {
        gtk_header_bar_set_decoration_layout(header, layout.c_str());
    }
    gtk_header_bar_set_show_close_button(header, layout.size() > 1);
}

}  // namespace quillora
