#include "window/gradient_caption.hpp"

#include <gdkmm/general.h>
#include <gtkmm/icontheme.h>
#include <gtkmm/label.h>
#include <gtkmm/window.h>
#include <pangomm/layout.h>

#include "common/event_boundary.hpp"
#include "window/decoration_layout.hpp"
#include "window/system_colours.hpp"
#include "window/window_frame.hpp"

namespace quillora {

namespace {

constexpr int SmallIconSize = 16;

void SetSource(const Cairo::RefPtr<Cairo::Context>& cr, Rgb colour)
{
    cr->set_source_rgb(colour.red / 255.0, colour.green / 255.0, colour.blue / 255.0);
}

Pango::FontDescription ToPango(const CaptionFont& font, const Pango::FontDescription& theme)
{
    Pango::FontDescription description = theme;
    if (!font.name.empty()) description.set_family(font.name);
    if (font.size > 0) description.set_size(font.size * Pango::SCALE);
    description.set_weight(font.bold ? Pango::WEIGHT_BOLD : Pango::WEIGHT_NORMAL);
    description.set_style(font.italic ? Pango::STYLE_ITALIC : Pango::STYLE_NORMAL);
    return description;
}

}  // namespace

// The title bar itself: a header bar whose own background the style sheet makes transparent,
// so that the gradient painted beneath its buttons shows.
class GradientCaption::Bar : public Gtk::HeaderBar {
public:
    Bar()
    {
        set_name("gradiente");
        get_style_context()->add_class("quillora-gradient-caption");
        // The caption text is painted with the gradient; the bar's own title stays empty.
        set_custom_title(empty_title_);
        set_show_close_button(true);
    }

private:
    Gtk::Label empty_title_;
};

GradientCaption::GradientCaption(Gtk::Window& window, WindowFrame& frame)
    : window_(window), frame_(frame), bar_(std::make_unique<Bar>())
{
    bar_->signal_draw().connect(
        [this](const Cairo::RefPtr<Cairo::Context>& cr) {
            bool handled = false;
            AtEventBoundary([&] { handled = OnDraw(cr); });
            return handled;
        },
        /*after=*/false);
    window_.property_is_active().signal_changed().connect([this] { bar_->queue_draw(); });
    frame_.signal_changed.connect([this] { UpdateButtons(); });
}

GradientCaption::~GradientCaption() = default;

Gtk::Widget* GradientCaption::TitleBar() const
{
    return installed_ ? bar_.get() : nullptr;
}

void GradientCaption::Update()
{
    if (Active && !installed_) {
        InstallTitleBar(window_, *bar_);
        bar_->show_all();
        installed_ = true;
    } else if (!Active && installed_) {
        // Taking the bar back gives the frame to the window manager again.
        gtk_window_set_titlebar(window_.gobj(), nullptr);
        installed_ = false;
    }
    UpdateButtons();
    bar_->queue_draw();
}

void GradientCaption::UpdateButtons()
{
    const std::string layout = DecorationLayoutFor(frame_.Style(), frame_.Buttons());
    // Setting the layout rebuilds the buttons, so only a change is set.
    if (bar_->get_decoration_layout() != layout) {
        bar_->set_decoration_layout(layout);
    }
    bar_->set_show_close_button(layout.size() > 1);
}

bool GradientCaption::OnDraw(const Cairo::RefPtr<Cairo::Context>& cr)
{
    const int width = bar_->get_allocated_width();
    const int height = bar_->get_allocated_height();
    auto context = window_.get_style_context();

    CaptionWindow caption_window;
    caption_window.style = frame_.Style();
    caption_window.buttons = frame_.Buttons();
    caption_window.width = width;
    caption_window.active = window_.is_active();
    // The bar is the caption: no frame around it, buttons as wide as the bar is high.
    caption_window.metrics.caption_height = height + 1;
    caption_window.metrics.small_caption_height = height + 1;
    caption_window.metrics.caption_button_width = height;
    caption_window.metrics.small_caption_button_width = height;
    caption_window.metrics.small_icon_width = SmallIconSize;
    caption_window.metrics.small_icon_height = SmallIconSize;

    GradientCaptionStyle style;
    style.start_colour = StartColor;
    style.gradient_steps = GradientSteps;
    style.gradient_active = GradientActive;
    style.gradient_inactive = GradientInactive;
    style.font_colour = Font.colour;
    style.font_inactive_colour = FontInactiveColor;

    const SystemColourLookup lookup = [&context](int index) {
        return ThemeSystemColour(context, index);
    };
    auto layout = bar_->create_pango_layout("");
    layout->set_font_description(ToPango(Font, bar_->get_style_context()->get_font()));
    const TextWidth measure = [&layout](std::string_view text) {
        layout->set_text(std::string(text));
        int text_width = 0;
        int text_height = 0;
        layout->get_pixel_size(text_width, text_height);
        return text_width;
    };

    // Under the buttons the bar shows the gradient's end colour.
    SetSource(cr, lookup(CaptionEndColourIndex(caption_window.active, true)));
    cr->paint();

    const auto plan = PlanCaption(style, caption_window, FormCaption, lookup, measure);
    if (!plan) return false;
    cr->save();
    cr->translate(plan->area.rect.x, plan->area.rect.y);
    cr->rectangle(0, 0, plan->area.rect.width, height);
    cr->clip();
    for (const ColourBand& band : plan->background) {
        SetSource(cr, band.colour);
        cr->rectangle(band.x, 0, band.width, height);
        cr->fill();
    }
    if (plan->icon) {
        const auto icon = Gtk::IconTheme::get_default()->load_icon(
            "quillora", SmallIconSize, Gtk::ICON_LOOKUP_FORCE_SIZE);
        Gdk::Cairo::set_source_pixbuf(cr, icon, plan->icon->x, (height - SmallIconSize) / 2.0);
        cr->paint();
    }
    layout->set_text(plan->text);
    Pango::AttrList attributes;
    if (Font.underline) {
        auto underline = Pango::Attribute::create_attr_underline(Pango::UNDERLINE_SINGLE);
        attributes.insert(underline);
    }
    if (Font.strikeout) {
        auto strikeout = Pango::Attribute::create_attr_strikethrough(true);
        attributes.insert(strikeout);
    }
    layout->set_attributes(attributes);
    int text_width = 0;
    int text_height = 0;
    layout->get_pixel_size(text_width, text_height);
    SetSource(cr, plan->text_colour);
    cr->move_to(plan->text_left, (height - text_height) / 2.0);
    layout->show_in_cairo_context(cr);
    cr->restore();
    return false;  // the bar goes on to draw its buttons over the gradient
}

}  // namespace quillora
