#include "webview/print_preview_window.hpp"

#include <algorithm>
#include <cmath>
#include <string_view>
#include <utility>

#include "common/error.hpp"
#include "common/event_boundary.hpp"

namespace quillora {

namespace {

PrintPreviewWindow& Self(gpointer self)
{
    return *static_cast<PrintPreviewWindow*>(self);
}

void SetAccessibleName(GtkWidget* widget, const char* name)
{
    atk_object_set_name(gtk_widget_get_accessible(widget), name);
}

// A header-bar button with an icon that runs one of the window's actions; its tooltip is also
// the name assistive technologies announce.
GtkWidget* IconButton(const char* icon, const char* name, const char* action)
{
    GtkWidget* button = gtk_button_new_from_icon_name(icon, GTK_ICON_SIZE_BUTTON);
    gtk_widget_set_tooltip_text(button, name);
    SetAccessibleName(button, name);
    gtk_actionable_set_action_name(GTK_ACTIONABLE(button), action);
    return button;
}

// Buttons drawn as one group, as GNOME does with related controls.
GtkWidget* LinkedBox(std::initializer_list<GtkWidget*> children)
{
    GtkWidget* box = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 0);
    gtk_style_context_add_class(gtk_widget_get_style_context(box), "linked");
    for (GtkWidget* child : children) {
        gtk_container_add(GTK_CONTAINER(box), child);
    }
    return box;
}

constexpr const char* kActionNames[] = {"previous-page", "next-page", "first-page",  "last-page",
                                        "zoom-in",       "zoom-out",  "actual-size", "fit-page",
                                        "fit-width",     "print",     "page-setup"};

}  // namespace

PrintPreviewWindow::PrintPreviewWindow(GtkWindow* parent, Commands commands) : commands_(std::move(commands))
{
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    window_ = GObjectPtr<GtkWidget>::Retain(window);
    gtk_window_set_title(GTK_WINDOW(window), "Print preview");
    gtk_window_set_default_size(GTK_WINDOW(window), 760, 860);
    if (parent != nullptr) {
        gtk_window_set_transient_for(GTK_WINDOW(window), parent);
        gtk_window_set_destroy_with_parent(GTK_WINDOW(window), TRUE);
    }
    AddActions(window);
    BuildHeaderBar(window);

    GtkWidget* scrolled = gtk_scrolled_window_new(nullptr, nullptr);
    pages_ = gtk_layout_new(nullptr, nullptr);
    gtk_widget_set_can_focus(pages_, TRUE);
    SetAccessibleName(pages_, "Printed pages");
    gtk_container_add(GTK_CONTAINER(scrolled), pages_);
    gtk_container_add(GTK_CONTAINER(window), scrolled);

    connections_.emplace_back(window, "destroy", &OnDestroy, this);
    connections_.emplace_back(window, "key-press-event", &OnKeyPress, this);
    connections_.emplace_back(scrolled, "scroll-event", &OnScroll, this);
    connections_.emplace_back(pages_, "size-allocate", &OnSizeAllocate, this);
    connections_.emplace_back(pages_, "draw", &OnDraw, this);
    connections_.emplace_back(gtk_scrollable_get_vadjustment(GTK_SCROLLABLE(pages_)), "value-changed", &OnScrolled,
                              this);
    gtk_widget_show_all(scrolled);
    UpdateControls();
}

PrintPreviewWindow::~PrintPreviewWindow()
{
    if (open_) {
        gtk_widget_destroy(window_.get());
    }
    connections_.clear();
}

void PrintPreviewWindow::AddActions(GtkWidget* window)
{
    actions_ = GObjectPtr<GSimpleActionGroup>::Adopt(g_simple_action_group_new());
    for (const char* name : kActionNames) {
        auto action = GObjectPtr<GSimpleAction>::Adopt(g_simple_action_new(name, nullptr));
        connections_.emplace_back(action.get(), "activate", &OnAction, this);
        g_action_map_add_action(G_ACTION_MAP(actions_.get()), G_ACTION(action.get()));
    }
    gtk_widget_insert_action_group(window, "preview", G_ACTION_GROUP(actions_.get()));
}

void PrintPreviewWindow::BuildHeaderBar(GtkWidget* window)
{
    GtkWidget* header = gtk_header_bar_new();
    header_ = GTK_HEADER_BAR(header);
    gtk_header_bar_set_show_close_button(header_, TRUE);
    gtk_header_bar_set_title(header_, "Print preview");

    gtk_header_bar_pack_start(header_,
                              LinkedBox({IconButton("go-up-symbolic", "Previous page", "preview.previous-page"),
                                         IconButton("go-down-symbolic", "Next page", "preview.next-page")}));
    page_label_ = gtk_label_new("");
    gtk_label_set_width_chars(GTK_LABEL(page_label_), 12);
    gtk_header_bar_pack_start(header_, page_label_);

    GtkWidget* print = gtk_button_new_with_mnemonic("_Print…");
    gtk_widget_set_tooltip_text(print, "Print the pages (Ctrl+P)");
    gtk_actionable_set_action_name(GTK_ACTIONABLE(print), "preview.print");
    gtk_style_context_add_class(gtk_widget_get_style_context(print), "suggested-action");
    gtk_header_bar_pack_end(header_, print);
    gtk_header_bar_pack_end(header_, IconButton("document-page-setup-symbolic", "Page setup", "preview.page-setup"));

    // The zoom: out, a menu that shows the zoom and offers the fitted ones, in.
    GMenu* menu = g_menu_new();
    g_menu_append(menu, "Fit page", "preview.fit-page");
    g_menu_append(menu, "Fit width", "preview.fit-width");
    g_menu_append(menu, "Actual size", "preview.actual-size");
    zoom_menu_ = gtk_menu_button_new();
    gtk_menu_button_set_menu_model(GTK_MENU_BUTTON(zoom_menu_), G_MENU_MODEL(menu));
    g_object_unref(menu);
    zoom_label_ = gtk_label_new("");
    gtk_label_set_width_chars(GTK_LABEL(zoom_label_), 5);
    GtkWidget* zoom_content = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 4);
    gtk_container_add(GTK_CONTAINER(zoom_content), zoom_label_);
    gtk_container_add(GTK_CONTAINER(zoom_content),
                      gtk_image_new_from_icon_name("pan-down-symbolic", GTK_ICON_SIZE_BUTTON));
    gtk_container_add(GTK_CONTAINER(zoom_menu_), zoom_content);
    gtk_widget_set_tooltip_text(zoom_menu_, "Zoom");
    SetAccessibleName(zoom_menu_, "Zoom");
    gtk_header_bar_pack_end(header_,
                            LinkedBox({IconButton("zoom-out-symbolic", "Zoom out", "preview.zoom-out"), zoom_menu_,
                                       IconButton("zoom-in-symbolic", "Zoom in", "preview.zoom-in")}));

    gtk_widget_show_all(header);
    gtk_window_set_titlebar(GTK_WINDOW(window), header);
}

void PrintPreviewWindow::Show(TemporaryFolder folder, const std::string& pdf_path, const std::string& subtitle)
{
    GError* raw_error = nullptr;
    const GCharPtr uri(g_filename_to_uri(pdf_path.c_str(), nullptr, &raw_error));
    auto document =
        uri ? GObjectPtr<PopplerDocument>::Adopt(poppler_document_new_from_file(uri.get(), nullptr, &raw_error))
            : GObjectPtr<PopplerDocument>();
    const GErrorPtr error(raw_error);
    if (!document) {
        throw Error("Cannot show the print preview: " +
                    std::string(error ? error->message : "the page was not rendered"));
    }
    std::vector<PageSize> sizes(static_cast<std::size_t>(poppler_document_get_n_pages(document.get())));
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        auto page = GObjectPtr<PopplerPage>::Adopt(poppler_document_get_page(document.get(), static_cast<int>(i)));
        poppler_page_get_size(page.get(), &sizes[i].width, &sizes[i].height);
    }

    // The new pages keep the zoom the user chose.
    PreviewLayout layout(std::move(sizes));
    layout.SetViewport(gtk_widget_get_allocated_width(pages_), gtk_widget_get_allocated_height(pages_));
    if (layout_.Mode() == ZoomMode::Fixed) {
        layout.SetZoom(layout_.Zoom());
    } else {
        layout.SetZoomMode(layout_.Mode());
    }
    layout_ = std::move(layout);
    document_ = std::move(document);
    folder_ = std::move(folder);  // removes the PDF shown before
    pdf_path_ = pdf_path;
    pictures_.clear();
    pages_rendered_ = 0;
    current_ = std::clamp(current_, 0, std::max(0, PageCount() - 1));

    gtk_header_bar_set_subtitle(header_, subtitle.empty() ? nullptr : subtitle.c_str());
    Relayout();
    ShowCurrentPage();
    gtk_widget_queue_draw(pages_);
    gtk_widget_show(window_.get());
    gtk_window_present(Window());
    gtk_widget_grab_focus(pages_);
}

void PrintPreviewWindow::GoToPage(int index)
{
    if (PageCount() == 0) {
        return;
    }
    current_ = std::clamp(index, 0, PageCount() - 1);
    ShowCurrentPage();
}

void PrintPreviewWindow::SetZoomMode(ZoomMode mode)
{
    layout_.SetZoomMode(mode);
    Rezoom();
}

void PrintPreviewWindow::SetZoom(double factor)
{
    layout_.SetZoom(factor);
    Rezoom();
}

void PrintPreviewWindow::ZoomIn()
{
    layout_.ZoomIn();
    Rezoom();
}

void PrintPreviewWindow::ZoomOut()
{
    layout_.ZoomOut();
    Rezoom();
}

void PrintPreviewWindow::Rezoom()
{
    Relayout();
    ShowCurrentPage();
}

void PrintPreviewWindow::Relayout()
{
    gtk_layout_set_size(GTK_LAYOUT(pages_), static_cast<guint>(layout_.ContentWidth()),
                        static_cast<guint>(layout_.ContentHeight()));
    gtk_widget_queue_draw(pages_);
    UpdateControls();
}

void PrintPreviewWindow::ShowCurrentPage()
{
    scrolling_ = true;
    gtk_adjustment_set_value(gtk_scrollable_get_vadjustment(GTK_SCROLLABLE(pages_)), layout_.ScrollFor(current_));
    scrolling_ = false;
    UpdateControls();
}

void PrintPreviewWindow::UpdateControls()
{
    const int count = PageCount();
    const std::string page = count > 0 ? "Page " + std::to_string(current_ + 1) + " of " + std::to_string(count) : "";
    gtk_label_set_text(GTK_LABEL(page_label_), page.c_str());
    atk_object_set_description(gtk_widget_get_accessible(pages_), page.c_str());
    const std::string zoom = std::to_string(static_cast<int>(std::lround(layout_.Zoom() * 100))) + "%";
    gtk_label_set_text(GTK_LABEL(zoom_label_), zoom.c_str());

    auto enable = [&](const char* name, bool enabled) {
        g_simple_action_set_enabled(G_SIMPLE_ACTION(g_action_map_lookup_action(G_ACTION_MAP(actions_.get()), name)),
                                    enabled);
    };
    enable("previous-page", current_ > 0);
    enable("first-page", current_ > 0);
    enable("next-page", current_ + 1 < count);
    enable("last-page", current_ + 1 < count);
    enable("zoom-in", layout_.CanZoomIn());
    enable("zoom-out", layout_.CanZoomOut());
}

cairo_surface_t* PrintPreviewWindow::PagePicture(int index, const PreviewRect& rect)
{
    const int device_scale = gtk_widget_get_scale_factor(pages_);
    const double scale = layout_.Zoom() * device_scale;
    if (scale != rendered_scale_) {
        pictures_.clear();
        rendered_scale_ = scale;
    }
    SurfacePtr& picture = pictures_[index];
    if (!picture) {
        picture.reset(cairo_image_surface_create(CAIRO_FORMAT_RGB24, static_cast<int>(rect.width) * device_scale,
                                                 static_cast<int>(rect.height) * device_scale));
        cairo_surface_set_device_scale(picture.get(), device_scale, device_scale);
        cairo_t* cr = cairo_create(picture.get());
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_paint(cr);
        const PageSize size = layout_.Page(index);
        cairo_scale(cr, rect.width / size.width, rect.height / size.height);
        auto page = GObjectPtr<PopplerPage>::Adopt(poppler_document_get_page(document_.get(), index));
        poppler_page_render_for_printing(page.get(), cr);
        cairo_destroy(cr);
        ++pages_rendered_;
    }
    return picture.get();
}

void PrintPreviewWindow::OnDestroy(GtkWidget*, gpointer self)
{
    PrintPreviewWindow& preview = Self(self);
    preview.open_ = false;
    preview.pictures_.clear();
    preview.document_.reset();
    preview.folder_.Remove();
}

gboolean PrintPreviewWindow::OnKeyPress(GtkWidget*, GdkEventKey* event, gpointer self)
{
    PrintPreviewWindow& preview = Self(self);
    const bool ctrl = (event->state & gtk_accelerator_get_default_mod_mask()) == GDK_CONTROL_MASK;
    const bool plain = (event->state & gtk_accelerator_get_default_mod_mask()) == 0;
    const char* action = nullptr;
    switch (event->keyval) {
    case GDK_KEY_Escape: {
        GtkPopover* popover = gtk_menu_button_get_popover(GTK_MENU_BUTTON(preview.zoom_menu_));
        if (plain && (popover == nullptr || !gtk_widget_get_visible(GTK_WIDGET(popover)))) {
            gtk_window_close(preview.Window());
            return TRUE;
        }
        return FALSE;
    }
    case GDK_KEY_Page_Up:
    case GDK_KEY_KP_Page_Up: action = plain ? "previous-page" : nullptr; break;
    case GDK_KEY_Page_Down:
    case GDK_KEY_KP_Page_Down: action = plain ? "next-page" : nullptr; break;
    case GDK_KEY_Home:
    case GDK_KEY_KP_Home: action = plain ? "first-page" : nullptr; break;
    case GDK_KEY_End:
    case GDK_KEY_KP_End: action = plain ? "last-page" : nullptr; break;
    case GDK_KEY_plus:
    case GDK_KEY_equal:
    case GDK_KEY_KP_Add: action = ctrl ? "zoom-in" : nullptr; break;
    case GDK_KEY_minus:
    case GDK_KEY_KP_Subtract: action = ctrl ? "zoom-out" : nullptr; break;
    case GDK_KEY_0:
    case GDK_KEY_KP_0: action = ctrl ? "actual-size" : nullptr; break;
    case GDK_KEY_f: action = plain ? "fit-page" : nullptr; break;
    case GDK_KEY_w: action = plain ? "fit-width" : nullptr; break;
    case GDK_KEY_p: action = ctrl ? "print" : nullptr; break;
    default: break;
    }
    if (action == nullptr) {
        return FALSE;
    }
    g_action_group_activate_action(G_ACTION_GROUP(preview.actions_.get()), action, nullptr);
    return TRUE;
}

// Ctrl with the wheel zooms, as in every GNOME viewer.
gboolean PrintPreviewWindow::OnScroll(GtkWidget*, GdkEventScroll* event, gpointer self)
{
    if ((event->state & gtk_accelerator_get_default_mod_mask()) != GDK_CONTROL_MASK) {
        return FALSE;
    }
    double dx = 0.0;
    double dy = 0.0;
    const bool up = event->direction == GDK_SCROLL_UP ||
                    (gdk_event_get_scroll_deltas(reinterpret_cast<GdkEvent*>(event), &dx, &dy) && dy < 0);
    const bool down = event->direction == GDK_SCROLL_DOWN || dy > 0;
    AtEventBoundary([&] {
        if (up) {
            Self(self).ZoomIn();
        } else if (down) {
            Self(self).ZoomOut();
        }
    });
    return TRUE;
}

// A fitted zoom follows the window's size.
void PrintPreviewWindow::OnSizeAllocate(GtkWidget*, GdkRectangle* allocation, gpointer self)
{
    PrintPreviewWindow& preview = Self(self);
    const double zoom = preview.layout_.Zoom();
    const double width = preview.layout_.ContentWidth();
    preview.layout_.SetViewport(allocation->width, allocation->height);
    if (preview.layout_.Zoom() != zoom) {
        preview.Rezoom();
    } else if (preview.layout_.ContentWidth() != width) {
        preview.Relayout();
    }
}

gboolean PrintPreviewWindow::OnDraw(GtkWidget* pages, cairo_t* cr, gpointer self)
{
    GdkWindow* bin = gtk_layout_get_bin_window(GTK_LAYOUT(pages));
    if (!gtk_cairo_should_draw_window(cr, bin)) {
        return FALSE;
    }
    AtEventBoundary([&] {
        PrintPreviewWindow& preview = Self(self);
        if (!preview.document_) {
            return;
        }
        cairo_save(cr);
        gtk_cairo_transform_to_window(cr, pages, bin);
        double left = 0, top = 0, right = 0, bottom = 0;
        cairo_clip_extents(cr, &left, &top, &right, &bottom);
        const auto [first, last] = preview.layout_.PagesIn(top, bottom);
        for (int i = first; i <= last; ++i) {
            const PreviewRect rect = preview.layout_.PageRect(i);
            // A thin frame and a soft shadow lift the sheet off the background.
            cairo_set_source_rgba(cr, 0, 0, 0, 0.12);
            cairo_rectangle(cr, rect.x - 1, rect.y, rect.width + 2, rect.height + 3);
            cairo_fill(cr);
            cairo_set_source_rgba(cr, 0, 0, 0, 0.25);
            cairo_rectangle(cr, rect.x - 1, rect.y - 1, rect.width + 2, rect.height + 2);
            cairo_fill(cr);
            cairo_set_source_surface(cr, preview.PagePicture(i, rect), rect.x, rect.y);
            cairo_paint(cr);
        }
        cairo_restore(cr);
        // Keep the pictures of the pages in view and of their neighbours only.
        std::erase_if(preview.pictures_, [low = first - 1, high = last + 1](const auto& entry) {
            return entry.first < low || entry.first > high;
        });
    });
    return FALSE;
}

void PrintPreviewWindow::OnScrolled(GtkAdjustment* adjustment, gpointer self)
{
    PrintPreviewWindow& preview = Self(self);
    if (preview.scrolling_ || preview.PageCount() == 0) {
        return;
    }
    const int page = preview.layout_.PageAt(gtk_adjustment_get_value(adjustment));
    if (page != preview.current_) {
        preview.current_ = page;
        preview.UpdateControls();
    }
}

void PrintPreviewWindow::OnAction(GSimpleAction* action, GVariant*, gpointer self)
{
    PrintPreviewWindow& preview = Self(self);
    const std::string_view name = g_action_get_name(G_ACTION(action));
    AtEventBoundary([&] {
        if (name == "previous-page") {
            preview.PreviousPage();
        } else if (name == "next-page") {
            preview.NextPage();
        } else if (name == "first-page") {
            preview.GoToPage(0);
        } else if (name == "last-page") {
            preview.GoToPage(preview.PageCount() - 1);
        } else if (name == "zoom-in") {
            preview.ZoomIn();
        } else if (name == "zoom-out") {
            preview.ZoomOut();
        } else if (name == "actual-size") {
            preview.SetZoom(1.0);
        } else if (name == "fit-page") {
            preview.SetZoomMode(ZoomMode::FitPage);
        } else if (name == "fit-width") {
            preview.SetZoomMode(ZoomMode::FitWidth);
        } else if (name == "print" && preview.commands_.print) {
            preview.commands_.print(preview.Window());
        } else if (name == "page-setup" && preview.commands_.page_setup) {
            preview.commands_.page_setup(preview.Window());
        }
    });
}

}  // namespace quillora
