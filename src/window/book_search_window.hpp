#pragma once

#include <gtk/gtk.h>

#include <atomic>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "common/event_signal.hpp"
#include "common/gobject_ptr.hpp"
#include "common/main_loop_source.hpp"
#include "common/signal_connection.hpp"
#include "search/search_index.hpp"
#include "window/widget_owners.hpp"

namespace quillora {

// A small window over the book's that searches every page of the book: the reader types words,
// the pages holding them are listed best first (title and a line of context) as they type, and
// Enter or a click chooses one. The pages are indexed the first time the window opens, on a
// thread of its own, so that the book stays usable meanwhile.
class BookSearchWindow {
public:
    BookSearchWindow(GtkWindow* book_window, std::filesystem::path book_folder);
    ~BookSearchWindow();
    BookSearchWindow(const BookSearchWindow&) = delete;
    BookSearchWindow& operator=(const BookSearchWindow&) = delete;

    // Shows the window with the words selected for typing anew; starts indexing the first time.
    void Open();

    // A page was chosen: its full path and the words that found it.
    EventSignal<const std::string& /*page*/, const std::string& /*words*/> signal_page_chosen;

    GtkWindow* Window() const { return window_.window(); }
    GtkSearchEntry* Entry() const { return entry_; }
    GtkListBox* Results() const { return results_; }
    // Whether the index is there to ask (false while indexing, and after indexing failed).
    bool Indexed() const { return index_.has_value(); }

private:
    void StartIndexing();
    void IndexingDone();
    void ShowResults();
    void Choose(GtkListBoxRow* row);
    bool OnEntryKey(const GdkEventKey* event);

    std::filesystem::path folder_;
    OwnedToplevel window_;
    GtkSearchEntry* entry_;
    GtkLabel* status_;
    GtkListBox* results_;
    std::vector<SignalConnection> connections_;
    std::vector<SearchHit> hits_;
    std::optional<SearchIndex> index_;

    // Indexing: the worker fills `built_` or `failure_` and attaches `indexed_source_`, which
    // calls back on the user-interface thread. Closing stops the worker at its next page and
    // waits for it.
    std::atomic<bool> stop_{false};
    std::optional<SearchIndex> built_;
    std::string failure_;
    GSource* indexed_source_ = nullptr;  // written by the worker, read after it was joined
    MainLoopSource indexed_;
    std::thread worker_;
};

}  // namespace quillora
