#include "window/skin_title_bar.hpp"

#include <gtkmm/headerbar.h>
#include <gtkmm/window.h>

#include "window/decoration_layout.hpp"
#include "window/gradient_caption.hpp"
#include "window/skin_engine.hpp"
#include "window/window_frame.hpp"

namespace quillora {

SkinTitleBar::SkinTitleBar(Gtk::Window& window, WindowFrame& frame, const GradientCaption& gradient,
                         const SkinEngine& skin)
    : window_(window), frame_(frame), gradient_(gradient), skin_(skin)
{
}

SkinTitleBar::~SkinTitleBar() = default;

Gtk::Widget* SkinTitleBar::TitleBar() const
{
    return bar_.get();
}

void SkinTitleBar::SwitchOn()
{
    active_ = true;
    if (bar_ || gradient_.Active || skin_.LoadedSkin() < 0) {
        return;  // the gradient caption paints the caption itself; without a skin, the frame stays
    }
    bar_ = std::make_unique<Gtk::HeaderBar>();
    bar_->set_name("SkinCaption");
    bar_->set_show_close_button(true);
    bar_->set_title(window_.get_title());
    InstallTitleBar(window_, *bar_);
    window_.property_title().signal_changed().connect(
        [this] { bar_->set_title(window_.get_title()); });
    frame_.signal_changed.connect([this] { UpdateButtons(); });
    UpdateButtons();
}

void SkinTitleBar::UpdateButtons()
{
    const std::string layout = DecorationLayoutFor(frame_.Style(), frame_.Buttons());
    if (bar_->get_decoration_layout() != layout) {
        bar_->set_decoration_layout(layout);
    }
    bar_->set_show_close_button(layout.size() > 1);
}

}  // namespace quillora
