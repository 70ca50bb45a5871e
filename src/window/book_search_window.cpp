#include "window/book_search_window.hpp"

#include "common/error.hpp"
#include "common/event_boundary.hpp"

namespace quillora {

namespace {

constexpr const char* IndexingText = "Indexing the book…";

std::string Escaped(const std::string& text)
{
    const GCharPtr escaped(g_markup_escape_text(text.c_str(), static_cast<gssize>(text.size())));
    return escaped.get();
}

// A hit's context as Pango markup: the text escaped, the matches in bold.
std::string ContextMarkup(const std::string& context)
{
    std::string markup;
    std::string plain;
    bool bold = false;
    const auto flush = [&] {
        markup += Escaped(plain);
        plain.clear();
    };
    for (const char c : context) {
        if (c == MatchStart || c == MatchEnd) {
            flush();
            if ((c == MatchStart) != bold) {
                markup += bold ? "</b>" : "<b>";
                bold = !bold;
            }
        } else {
            plain += c;
        }
    }
    flush();
    if (bold) markup += "</b>";
    return markup;
}

GtkWidget* ResultRow(const SearchHit& hit)
{
    GtkWidget* title = gtk_label_new(nullptr);
    gtk_label_set_markup(GTK_LABEL(title), ("<b>" + Escaped(hit.title) + "</b>").c_str());
    GtkWidget* context = gtk_label_new(nullptr);
    gtk_label_set_markup(GTK_LABEL(context), ContextMarkup(hit.context).c_str());
    GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 2);
    gtk_container_set_border_width(GTK_CONTAINER(box), 4);
    for (GtkWidget* label : {title, context}) {
        gtk_label_set_xalign(GTK_LABEL(label), 0);
        gtk_label_set_ellipsize(GTK_LABEL(label), PANGO_ELLIPSIZE_END);
        gtk_box_pack_start(GTK_BOX(box), label, FALSE, FALSE, 0);
    }
    GtkWidget* row = gtk_list_box_row_new();
    gtk_container_add(GTK_CONTAINER(row), box);
    AtkObject* accessible = gtk_widget_get_accessible(row);
    atk_object_set_name(accessible, hit.title.c_str());
    atk_object_set_description(accessible, gtk_label_get_text(GTK_LABEL(context)));
    gtk_widget_show_all(row);
    return row;
}

void Announce(GtkWidget* widget, const char* name)
{
    atk_object_set_name(gtk_widget_get_accessible(widget), name);
}

}  // namespace

BookSearchWindow::BookSearchWindow(GtkWindow* book_window, std::filesystem::path book_folder)
    : folder_(std::move(book_folder))
    , window_(gtk_window_new(GTK_WINDOW_TOPLEVEL))
    , entry_(GTK_SEARCH_ENTRY(gtk_search_entry_new()))
    , status_(GTK_LABEL(gtk_label_new(nullptr)))
    , results_(GTK_LIST_BOX(gtk_list_box_new()))
{
    GtkWindow* window = Window();
    gtk_window_set_title(window, "Search the book");
    gtk_window_set_transient_for(window, book_window);
    gtk_window_set_type_hint(window, GDK_WINDOW_TYPE_HINT_DIALOG);
    gtk_window_set_default_size(window, 480, 420);
    gtk_container_set_border_width(GTK_CONTAINER(window), 8);

    gtk_entry_set_placeholder_text(GTK_ENTRY(entry_), "Words to find in every page");
    Announce(GTK_WIDGET(entry_), "Search the book");
    Announce(GTK_WIDGET(results_), "Pages found");
    gtk_list_box_set_selection_mode(results_, GTK_SELECTION_BROWSE);
    gtk_label_set_xalign(status_, 0);
    GtkWidget* scroller = gtk_scrolled_window_new(nullptr, nullptr);
    gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scroller), GTK_POLICY_NEVER, GTK_POLICY_AUTOMATIC);
    gtk_container_add(GTK_CONTAINER(scroller), GTK_WIDGET(results_));
    GtkWidget* layout = gtk_box_new(GTK_ORIENTATION_VERTICAL, 6);
    gtk_box_pack_start(GTK_BOX(layout), GTK_WIDGET(entry_), FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(layout), GTK_WIDGET(status_), FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(layout), scroller, TRUE, TRUE, 0);
    gtk_container_add(GTK_CONTAINER(window), layout);
    gtk_widget_show_all(layout);

    connections_.push_back(
        Connect<void(GtkSearchEntry*)>(entry_, "search-changed", [this](GtkSearchEntry*) { ShowResults(); }));
    connections_.push_back(Connect<void(GtkEntry*)>(
        entry_, "activate", [this](GtkEntry*) { Choose(gtk_list_box_get_row_at_index(results_, 0)); }));
    connections_.push_back(Connect<void(GtkSearchEntry*)>(entry_, "stop-search",
                                                          [this](GtkSearchEntry*) { gtk_widget_hide(window_.get()); }));
    connections_.push_back(Connect<gboolean(GtkWidget*, GdkEventKey*)>(
        entry_, "key-press-event", [this](GtkWidget*, GdkEventKey* event) -> gboolean { return OnEntryKey(event); }));
    connections_.push_back(Connect<gboolean(GtkWidget*, GdkEventKey*)>(
        window, "key-press-event", [](GtkWidget* widget, GdkEventKey* event) -> gboolean {
            if (event->keyval != GDK_KEY_Escape) return FALSE;
            gtk_widget_hide(widget);
            return TRUE;
        }));
    connections_.push_back(Connect<void(GtkListBox*, GtkListBoxRow*)>(
        results_, "row-activated", [this](GtkListBox*, GtkListBoxRow* row) { Choose(row); }));
    connections_.push_back(
        Connect<gboolean(GtkWidget*, GdkEvent*)>(window, "delete-event", [](GtkWidget* widget, GdkEvent*) -> gboolean {
            gtk_widget_hide(widget);
            return TRUE;  // kept, with the reader's words, for the next search
        }));
}

BookSearchWindow::~BookSearchWindow()
{
    stop_ = true;
    if (worker_.joinable()) {
        worker_.join();
        indexed_ = MainLoopSource(indexed_source_);  // removes a call-back still to come
    }
}

void BookSearchWindow::Open()
{
    gtk_window_present(Window());
    gtk_widget_grab_focus(GTK_WIDGET(entry_));  // selects the words, so that typing replaces them
    if (!index_ && !worker_.joinable()) {
        StartIndexing();
    }
}

void BookSearchWindow::StartIndexing()
{
    gtk_label_set_text(status_, IndexingText);
    worker_ = std::thread([this] {
        try {
            built_ = SearchIndex::Open(folder_, &stop_);
        } catch (const std::exception& failure) {
            failure_ = failure.what();
        }
        GSource* source = g_idle_source_new();
        g_source_set_callback(
            source,
            [](gpointer self) -> gboolean {
                AtEventBoundary([self] { static_cast<BookSearchWindow*>(self)->IndexingDone(); });
                return G_SOURCE_REMOVE;
            },
            this, nullptr);
        indexed_source_ = source;
        g_source_attach(source, nullptr);
    });
}

void BookSearchWindow::IndexingDone()
{
    worker_.join();  // it ends right after it called back
    indexed_ = MainLoopSource(indexed_source_);
    if (built_) {
        index_ = std::move(built_);
        built_.reset();
        ShowResults();
    } else {
        gtk_label_set_text(status_, ("The book could not be indexed: " + failure_).c_str());
    }
}

void BookSearchWindow::ShowResults()
{
    if (!index_) {
        return;  // shown when indexing ends
    }
    for (GtkWidget* row : ChildrenOf(GTK_WIDGET(results_))) {
        gtk_widget_destroy(row);
    }
    const std::string words = gtk_entry_get_text(GTK_ENTRY(entry_));
    hits_ = index_->Find(words);
    for (const auto& hit : hits_) {
        gtk_container_add(GTK_CONTAINER(results_), ResultRow(hit));
    }
    if (words.find_first_not_of(" \t") == std::string::npos) {
        gtk_label_set_text(status_, "");
    } else if (hits_.empty()) {
        gtk_label_set_text(status_, "No page holds these words");
    } else {
        const std::string count = hits_.size() == 1 ? "1 page" : std::to_string(hits_.size()) + " pages";
        gtk_label_set_text(status_, count.c_str());
    }
}

void BookSearchWindow::Choose(GtkListBoxRow* row)
{
    const int index = row != nullptr ? gtk_list_box_row_get_index(row) : -1;
    if (index < 0 || static_cast<std::size_t>(index) >= hits_.size()) {
        return;
    }
    const std::string page = (folder_ / hits_[static_cast<std::size_t>(index)].path).string();
    const std::string words = gtk_entry_get_text(GTK_ENTRY(entry_));
    gtk_widget_hide(window_.get());
    signal_page_chosen.Emit(page, words);
}

bool BookSearchWindow::OnEntryKey(const GdkEventKey* event)
{
    // Down leaves the words for the list of pages.
    if (event->keyval == GDK_KEY_Down || event->keyval == GDK_KEY_KP_Down) {
        if (GtkListBoxRow* first = gtk_list_box_get_row_at_index(results_, 0)) {
            gtk_list_box_select_row(results_, first);
            gtk_widget_grab_focus(GTK_WIDGET(first));
            return true;
        }
    }
    return false;
}

}  // namespace quillora
