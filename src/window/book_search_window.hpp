#pragma once

#include <atomic>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <glibmm/dispatcher.h>
#include <gtkmm/box.h>
#include <gtkmm/label.h>
#include <gtkmm/listbox.h>
#include <gtkmm/scrolledwindow.h>
#include <gtkmm/searchentry.h>
#include <gtkmm/window.h>

#include "search/search_index.hpp"

namespace quillora {

// A small window over the book's that searches every page of the book: the reader types words,
// the pages holding them are listed best first (title and a line of context) as they type, and
// Enter or a click chooses one. The pages are indexed the first time the window opens, on a
// thread of its own, so that the book stays usable meanwhile.
class BookSearchWindow : public Gtk::Window {
public:
    BookSearchWindow(Gtk::Window& book_window, std::filesystem::path book_folder);
    ~BookSearchWindow() override;

    // Shows the window with the words selected for typing anew; starts indexing the first time.
    void Open();

    // A page was chosen: its full path and the words that found it.
    sigc::signal<void(const std::string& page, const std::string& words)> signal_page_chosen;

    Gtk::SearchEntry& Entry() { return entry_; }
    Gtk::ListBox& Results() { return results_; }
    // Whether the index is there to ask (false while indexing, and after indexing failed).
    bool Indexed() const { return index_.has_value(); }

private:
    void StartIndexing();
    void IndexingDone();
    void ShowResults();
    void Choose(const Gtk::ListBoxRow* row);
    bool OnEntryKey(GdkEventKey* event);
    bool OnWindowKey(GdkEventKey* event);

    std::filesystem::path folder_;
    Gtk::Box layout_{Gtk::ORIENTATION_VERTICAL, 6};
    Gtk::SearchEntry entry_;
    Gtk::Label status_;
    Gtk::ScrolledWindow scroller_;
    Gtk::ListBox results_;
    std::vector<SearchHit> hits_;
    std::optional<SearchIndex> index_;

    // Indexing: the worker fills `built_` or `failure_`, then `indexed_` calls back on the
    // user-interface thread. Closing stops the worker at its next page and waits for it.
    std::atomic<bool> stop_{false};
    std::optional<SearchIndex> built_;
    std::string failure_;
    Glib::Dispatcher indexed_;
    std::thread worker_;
};

}  // namespace quillora
