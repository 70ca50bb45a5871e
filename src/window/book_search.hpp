#pragma once

#include <functional>
#include <memory>
#include <string>

#include <gtk/gtk.h>

#include "common/event_signal.hpp"

namespace quillora {

class BookSearchWindow;
class FindBar;
class WebBrowser;

// The folder of the book's pages: the folder of its home page. Empty when the book has no home
// page that names a folder (a program without settings).
std::string BookFolderOf(const std::string& home_page, const std::string& executable_folder);

// Searching the whole book (Ctrl+Shift+F in the book's window). A chosen page opens in the
// book's browser, and once it has loaded, the find bar highlights the reader's words in it. The
// search window is made the first time it is asked for, for the folder `book_folder` names then.
class BookSearch {
public:
    BookSearch(GtkWindow* window, WebBrowser& web, FindBar& find, std::function<std::string()> book_folder);
    ~BookSearch();
    BookSearch(const BookSearch&) = delete;
    BookSearch& operator=(const BookSearch&) = delete;

    // Shows the search window; nothing for a book without pages.
    void Open();
    // The search window once it has been opened, for tests.
    BookSearchWindow* SearchWindow() const { return search_window_.get(); }

private:
    void ShowPage(const std::string& page, const std::string& words);
    void Highlight(const std::string& words);

    GtkWindow* window_;
    WebBrowser& web_;
    FindBar& find_;
    std::function<std::string()> book_folder_;
    std::unique_ptr<BookSearchWindow> search_window_;
    EventConnection page_chosen_;
    EventConnection highlight_;
};

}  // namespace quillora
