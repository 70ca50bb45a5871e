#include "window/book_search_window.hpp"

#include <glibmm/markup.h>
#include <gtkmm/listboxrow.h>

#include "common/error.hpp"
#include "common/event_boundary.hpp"

namespace quillora {

namespace {

constexpr const char* IndexingText = "Indexing the book…";

// A hit's context as Pango markup: the text escaped, the matches in bold.
Glib::ustring ContextMarkup(const std::string& context)
{
    Glib::ustring markup;
    std::string plain;
    bool bold = false;
    const auto flush = [&] {
        markup += Glib::Markup::escape_text(plain);
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

Gtk::ListBoxRow* ResultRow(const SearchHit& hit)
{
    auto* title = Gtk::make_managed<Gtk::Label>();
    title->set_markup("<b>" + Glib::Markup::escape_text(hit.title) + "</b>");
    auto* context = Gtk::make_managed<Gtk::Label>();
    context->set_markup(ContextMarkup(hit.context));
    for (Gtk::Label* label : {title, context}) {
        label->set_xalign(0);
        label->set_ellipsize(Pango::ELLIPSIZE_END);
    }
    auto* box = Gtk::make_managed<Gtk::Box>(Gtk::ORIENTATION_VERTICAL, 2);
    box->set_border_width(4);
    box->pack_start(*title, Gtk::PACK_SHRINK);
    box->pack_start(*context, Gtk::PACK_SHRINK);
    auto* row = Gtk::make_managed<Gtk::ListBoxRow>();
    row->add(*box);
    row->get_accessible()->set_name(hit.title);
    row->get_accessible()->set_description(context->get_text());
    row->show_all();
    return row;
}

}  // namespace

BookSearchWindow::BookSearchWindow(Gtk::Window& book_window, std::filesystem::path book_folder)
    : folder_(std::move(book_folder))
{
    set_title("Search the book");
    set_transient_for(book_window);
    set_type_hint(Gdk::WINDOW_TYPE_HINT_DIALOG);
    set_default_size(480, 420);
    set_border_width(8);

    entry_.set_placeholder_text("Words to find in every page");
    entry_.get_accessible()->set_name("Search the book");
    results_.get_accessible()->set_name("Pages found");
    results_.set_selection_mode(Gtk::SELECTION_BROWSE);
    status_.set_xalign(0);
    scroller_.set_policy(Gtk::POLICY_NEVER, Gtk::POLICY_AUTOMATIC);
    scroller_.add(results_);
    layout_.pack_start(entry_, Gtk::PACK_SHRINK);
    layout_.pack_start(status_, Gtk::PACK_SHRINK);
    layout_.pack_start(scroller_, Gtk::PACK_EXPAND_WIDGET);
    add(layout_);
    layout_.show_all();

    entry_.signal_search_changed().connect([this] { AtEventBoundary([this] { ShowResults(); }); });
    entry_.signal_activate().connect([this] {
        AtEventBoundary([this] { Choose(results_.get_row_at_index(0)); });
    });
    entry_.signal_stop_search().connect([this] { hide(); });
    entry_.signal_key_press_event().connect(sigc::mem_fun(*this, &BookSearchWindow::OnEntryKey), false);
    signal_key_press_event().connect(sigc::mem_fun(*this, &BookSearchWindow::OnWindowKey), false);
    results_.signal_row_activated().connect([this](Gtk::ListBoxRow* row) {
        AtEventBoundary([this, row] { Choose(row); });
    });
    indexed_.connect([this] { AtEventBoundary([this] { IndexingDone(); }); });
    signal_delete_event().connect([this](GdkEventAny*) {
        hide();
        return true;  // kept, with the reader's words, for the next search
    });
}

BookSearchWindow::~BookSearchWindow()
{
    stop_ = true;
    if (worker_.joinable()) {
        worker_.join();
    }
}

void BookSearchWindow::Open()
{
    present();
    entry_.grab_focus();  // selects the words, so that typing replaces them
    if (!index_ && !worker_.joinable()) {
        StartIndexing();
    }
}

void BookSearchWindow::StartIndexing()
{
    status_.set_text(IndexingText);
    worker_ = std::thread([this] {
        try {
            built_ = SearchIndex::Open(folder_, &stop_);
        } catch (const std::exception& failure) {
            failure_ = failure.what();
        }
        indexed_.emit();
    });
}

void BookSearchWindow::IndexingDone()
{
    worker_.join();  // it ends right after it called back
    if (built_) {
        index_ = std::move(built_);
        built_.reset();
        ShowResults();
    } else {
        status_.set_text("The book could not be indexed: " + failure_);
    }
}

void BookSearchWindow::ShowResults()
{
    if (!index_) {
        return;  // shown when indexing ends
    }
    for (Gtk::Widget* row : results_.get_children()) {
        gtk_widget_destroy(row->gobj());  // the row's wrapper goes with it
    }
    const std::string words = entry_.get_text();
    hits_ = index_->Find(words);
    for (const auto& hit : hits_) {
        results_.append(*ResultRow(hit));
    }
    if (words.find_first_not_of(" \t") == std::string::npos) {
        status_.set_text("");
    } else if (hits_.empty()) {
        status_.set_text("No page holds these words");
    } else {
        status_.set_text(hits_.size() == 1 ? "1 page" : std::to_string(hits_.size()) + " pages");
    }
}

void BookSearchWindow::Choose(const Gtk::ListBoxRow* row)
{
    if (row == nullptr || row->get_index() < 0 || static_cast<std::size_t>(row->get_index()) >= hits_.size()) {
        return;
    }
    const std::string page = (folder_ / hits_[static_cast<std::size_t>(row->get_index())].path).string();
    hide();
    signal_page_chosen.emit(page, entry_.get_text());
}

bool BookSearchWindow::OnEntryKey(GdkEventKey* event)
{
    // Down leaves the words for the list of pages.
    if (event->keyval == GDK_KEY_Down || event->keyval == GDK_KEY_KP_Down) {
        if (Gtk::ListBoxRow* first = results_.get_row_at_index(0)) {
            results_.select_row(*first);
            first->grab_focus();
            return true;
        }
    }
    return false;
}

bool BookSearchWindow::OnWindowKey(GdkEventKey* event)
{
    if (event->keyval == GDK_KEY_Escape) {
        hide();
        return true;
    }
    return false;
}

}  // namespace quillora
