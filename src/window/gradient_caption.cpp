#include "window/gradient_caption.hpp"

#include <memory>
#include <string_view>

#include "appearance/decoration_layout.hpp"
#include "common/event_boundary.hpp"
#include "window/system_colours.hpp"
#include "window/widget_owners.hpp"
#include "window/window_frame.hpp"

namespace quillora {

namespace {

constexpr int SmallIconSize = 16;

struct AttrListDeleter {
    void operator()(PangoAttrList* list) const { pango_attr_list_unref(list); }
};
using AttrListPtr = std::unique_ptr<PangoAttrList, AttrListDeleter>;

void SetSource(cairo_t* cr, Rgb colour)
{
    cairo_set_source_rgb(cr, colour.red / 255.0, colour.green / 255.0, colour.blue / 255.0);
}

// The caption's font: the theme's, with what the book sets of family, size, weight and style.
FontDescriptionPtr CaptionFontOf(const CaptionFont& font, GtkWidget* bar)
{
    FontDescriptionPtr description = StyleFontOf(bar);
    if (!font.name.empty()) pango_font_description_set_family(description.get(), font.name.c_str());
    if (font.size > 0) pango_font_description_set_size(description.get(), font.size * PANGO_SCALE);
    pango_font_description_set_weight(description.get(), font.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_style(description.get(), font.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    return description;
}

GObjectPtr<GtkWidget> NewTitleBar()
{
    auto bar = GObjectPtr<GtkWidget>::Sink(gtk_header_bar_new());
    gtk_widget_set_name(bar.get(), "gradiente");
    gtk_style_context_add_class(gtk_widget_get_style_context(bar.get()), "quillora-gradient-caption");
    // The caption text is painted with the gradient; the bar's own title stays empty.
    gtk_header_bar_set_custom_title(GTK_HEADER_BAR(bar.get()), gtk_label_new(""));
    gtk_header_bar_set_show_close_button(GTK_HEADER_BAR(bar.get()), TRUE);
    return bar;
}

}  // namespace

GradientCaption::GradientCaption(GtkWindow* window, WindowFrame& frame)
    : window_(window)
    , frame_(frame)
    , bar_(NewTitleBar())
{
    drawn_ = Connect<gboolean(GtkWidget*, cairo_t*)>(
        bar_.get(), "draw", [this](GtkWidget*, cairo_t* cr) -> gboolean { return OnDraw(cr); });
    activated_ = Connect<void(GtkWindow*, GParamSpec*)>(
        window_, "notify::is-active", [this](GtkWindow*, GParamSpec*) { gtk_widget_queue_draw(bar_.get()); });
    frame_changed_ = frame_.signal_changed.Connect([this] { UpdateButtons(); });
}

GtkWidget* GradientCaption::TitleBar() const
{
    return installed_ ? bar_.get() : nullptr;
}

void GradientCaption::Update()
{
    if (Active && !installed_) {
        InstallTitleBar(window_, bar_.get());
        gtk_widget_show_all(bar_.get());
        installed_ = true;
    } else if (!Active && installed_) {
        // Taking the bar back gives the frame to the window manager again.
        gtk_window_set_titlebar(window_, nullptr);
        installed_ = false;
    }
    UpdateButtons();
    gtk_widget_queue_draw(bar_.get());
}

void GradientCaption::ShowCaption(const std::string& caption)
{
    FormCaption = caption;
    Update();
}

void GradientCaption::UpdateButtons()
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

bool GradientCaption::OnDraw(cairo_t* cr)
{
    const int width = gtk_widget_get_allocated_width(bar_.get());
    const int height = gtk_widget_get_allocated_height(bar_.get());
    GtkStyleContext* context = gtk_widget_get_style_context(GTK_WIDGET(window_));

    CaptionWindow caption_window;
    caption_window.style = frame_.Style();
    caption_window.buttons = frame_.Buttons();
    caption_window.width = width;
    caption_window.active = gtk_window_is_active(window_) != FALSE;
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

    const SystemColourLookup lookup = [context](int index) { return ThemeSystemColour(context, index); };
    const auto layout = GObjectPtr<PangoLayout>::Adopt(gtk_widget_create_pango_layout(bar_.get(), ""));
    const FontDescriptionPtr font = CaptionFontOf(Font, bar_.get());
    pango_layout_set_font_description(layout.get(), font.get());
    const TextWidth measure = [&layout](std::string_view text) {
        pango_layout_set_text(layout.get(), text.data(), static_cast<int>(text.size()));
        int text_width = 0;
        pango_layout_get_pixel_size(layout.get(), &text_width, nullptr);
        return text_width;
    };

    // Under the buttons the bar shows the gradient's end colour.
    SetSource(cr, lookup(CaptionEndColourIndex(caption_window.active, true)));
    cairo_paint(cr);

    const auto plan = PlanCaption(style, caption_window, FormCaption, lookup, measure);
    if (!plan) return false;
    cairo_save(cr);
    cairo_translate(cr, plan->area.rect.x, plan->area.rect.y);
    cairo_rectangle(cr, 0, 0, plan->area.rect.width, height);
    cairo_clip(cr);
    for (const ColourBand& band : plan->background) {
        SetSource(cr, band.colour);
        cairo_rectangle(cr, band.x, 0, band.width, height);
        cairo_fill(cr);
    }
    if (plan->icon) {
        const auto icon = GObjectPtr<GdkPixbuf>::Adopt(gtk_icon_theme_load_icon(
            gtk_icon_theme_get_default(), "quillora", SmallIconSize, GTK_ICON_LOOKUP_FORCE_SIZE, nullptr));
        if (icon) {
            gdk_cairo_set_source_pixbuf(cr, icon.get(), plan->icon->x, (height - SmallIconSize) / 2.0);
            cairo_paint(cr);
        }
    }
    pango_layout_set_text(layout.get(), plan->text.c_str(), -1);
    const AttrListPtr attributes(pango_attr_list_new());
    if (Font.underline) {
        pango_attr_list_insert(attributes.get(), pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
    }
    if (Font.strikeout) {
        pango_attr_list_insert(attributes.get(), pango_attr_strikethrough_new(TRUE));
    }
    pango_layout_set_attributes(layout.get(), attributes.get());
    int text_height = 0;
    pango_layout_get_pixel_size(layout.get(), nullptr, &text_height);
    SetSource(cr, plan->text_colour);
    cairo_move_to(cr, plan->text_left, (height - text_height) / 2.0);
    pango_cairo_show_layout(cr, layout.get());
    cairo_restore(cr);
    return false;  // the bar goes on to draw its buttons over the gradient
}

}  // namespace quillora
