#include "window/find_bar.hpp"

#include "common/event_boundary.hpp"
#include "window/builder_parts.hpp"

namespace quillora {

namespace {

constexpr guint32 FindOptions = WEBKIT_FIND_OPTIONS_CASE_INSENSITIVE | WEBKIT_FIND_OPTIONS_WRAP_AROUND;
// The engine counts at most this many; past it, the bar says "more than".
constexpr guint MostCounted = 1000;

GtkWidget* Part(GtkBuilder* builder, const char* name)
{
    return GTK_WIDGET(RequirePart(builder, name, "The window description"));
}

FindBar& Self(gpointer self)
{
    return *static_cast<FindBar*>(self);
}

void Announce(GtkWidget* widget, const char* name)
{
    atk_object_set_name(gtk_widget_get_accessible(widget), name);
}

}  // namespace

FindBar::FindBar(GtkBuilder* builder, WebKitWebView* view)
    : bar_(GTK_SEARCH_BAR(Part(builder, "find_bar")))
    , entry_(GTK_ENTRY(Part(builder, "find_entry")))
    , count_(GTK_LABEL(Part(builder, "find_count")))
    , view_(view)
    , finder_(webkit_web_view_get_find_controller(view))
{
    GtkWidget* previous = Part(builder, "find_previous");
    GtkWidget* next = Part(builder, "find_next");
    GtkWidget* close = Part(builder, "find_close");
    Announce(GTK_WIDGET(entry_), "Find in page");
    Announce(previous, "Previous match");
    Announce(next, "Next match");
    Announce(close, "Close the find bar");
    Announce(GTK_WIDGET(count_), "Matches");

    connections_.emplace_back(
        previous, "clicked", +[](GtkButton*, gpointer self) { AtEventBoundary([&] { Self(self).Previous(); }); }, this);
    connections_.emplace_back(
        next, "clicked", +[](GtkButton*, gpointer self) { AtEventBoundary([&] { Self(self).Next(); }); }, this);
    connections_.emplace_back(
        close, "clicked", +[](GtkButton*, gpointer self) { AtEventBoundary([&] { Self(self).Close(); }); }, this);
    // Enter steps to the next match, as in the pages' own search boxes.
    connections_.emplace_back(
        entry_, "activate", +[](GtkEntry*, gpointer self) { AtEventBoundary([&] { Self(self).Next(); }); }, this);
    connections_.emplace_back(
        entry_, "stop-search", +[](GtkSearchEntry*, gpointer self) { AtEventBoundary([&] { Self(self).Close(); }); },
        this);
    connections_.emplace_back(entry_, "search-changed", &OnSearchChanged, this);
    connections_.emplace_back(bar_, "notify::search-mode-enabled", &OnModeChanged, this);
    // The count comes with the search itself: asking the engine to count apart would clear the
    // highlights the search has just drawn.
    connections_.emplace_back(finder_, "found-text", &OnFoundText, this);
    // A new page in the view while the bar is open gets its matches too.
    connections_.emplace_back(
        view, "load-changed",
        +[](WebKitWebView*, WebKitLoadEvent event, gpointer self) {
            AtEventBoundary([&] {
                if (event == WEBKIT_LOAD_FINISHED && Self(self).IsOpen()) Self(self).Search();
            });
        },
        this);
    connections_.emplace_back(finder_, "failed-to-find-text", &OnFailedToFind, this);
}

FindBar::~FindBar() = default;

void FindBar::Open()
{
    // Hidden while closed, so that not even its border takes room.
    gtk_widget_show(GTK_WIDGET(bar_));
    gtk_search_bar_set_search_mode(bar_, TRUE);
    // The key's release follows at once, and goes to the focused entry: it must have its window.
    gtk_widget_realize(GTK_WIDGET(entry_));
    // Typing replaces what was looked for last; the highlights of that text come back at once.
    gtk_widget_grab_focus(GTK_WIDGET(entry_));
    Search();
}

void FindBar::Open(const std::string& text)
{
    gtk_entry_set_text(entry_, text.c_str());
    Open();
}

void FindBar::Close()
{
    gtk_search_bar_set_search_mode(bar_, FALSE);
}

bool FindBar::IsOpen() const
{
    return gtk_search_bar_get_search_mode(bar_) != FALSE;
}

void FindBar::Next()
{
    if (!IsOpen()) {
        Open();
        return;  // opening looks for the first match
    }
    webkit_find_controller_search_next(finder_);
}

void FindBar::Previous()
{
    if (!IsOpen()) {
        Open();
    }
    webkit_find_controller_search_previous(finder_);
}

std::string FindBar::CountText() const
{
    return gtk_label_get_text(count_);
}

void FindBar::Search()
{
    const char* text = gtk_entry_get_text(entry_);
    if (text == nullptr || *text == '\0') {
        webkit_find_controller_search_finish(finder_);
        gtk_label_set_text(count_, "");
        return;
    }
    webkit_find_controller_search(finder_, text, FindOptions, MostCounted);
}

void FindBar::ShowCount(guint count)
{
    // On a long page the answer comes late: by then the bar may be closed or its text cleared.
    if (!IsOpen() || *gtk_entry_get_text(entry_) == '\0') return;
    const std::string text = count == 0            ? std::string("No matches")
                             : count == 1          ? std::string("1 match")
                             : count > MostCounted ? "More than " + std::to_string(MostCounted) + " matches"
                                                   : std::to_string(count) + " matches";
    gtk_label_set_text(count_, text.c_str());
}

void FindBar::OnSearchChanged(GtkSearchEntry*, gpointer self)
{
    AtEventBoundary([&] {
        if (Self(self).IsOpen()) Self(self).Search();
    });
}

void FindBar::OnFoundText(WebKitFindController*, guint count, gpointer self)
{
    AtEventBoundary([&] { Self(self).ShowCount(count); });
}

void FindBar::OnFailedToFind(WebKitFindController*, gpointer self)
{
    AtEventBoundary([&] { Self(self).ShowCount(0); });
}

void FindBar::OnModeChanged(GObject*, GParamSpec*, gpointer self)
{
    AtEventBoundary([&] {
        FindBar& bar = Self(self);
        if (bar.IsOpen()) return;
        webkit_find_controller_search_finish(bar.finder_);
        gtk_label_set_text(bar.count_, "");
        gtk_widget_grab_focus(GTK_WIDGET(bar.view_));
        gtk_widget_hide(GTK_WIDGET(bar.bar_));
    });
}

}  // namespace quillora
