#pragma once

#include <functional>
#include <memory>
#include <string>

#include <gdk/gdk.h>
#include <sigc++/connection.h>

namespace Gtk {
class Window;
}

namespace quillora {

class BookSearchWindow;
class WebBrowser;

// The folder of the book's pages: the folder of its home page. Empty when the book has no home
// page that names a folder (a program without settings).
std::string BookFolderOf(const std::string& home_page, const std::string& executable_folder);

// Ctrl+Shift+F in the book's window searches the whole book. A chosen page opens in the book's
// browser, and once it has loaded, the reader's words are highlighted in it. The search window
// is made the first time it is asked for, for the folder that `book_folder` names then.
class BookSearch {
public:
    BookSearch(Gtk::Window& window, WebBrowser& web, std::function<std::string()> book_folder);
    ~BookSearch();
    BookSearch(const BookSearch&) = delete;
    BookSearch& operator=(const BookSearch&) = delete;

    // What the shortcut does; nothing for a book without pages.
    void Open();
    // The search window once it has been opened, for tests.
    BookSearchWindow* SearchWindow() const { return search_window_.get(); }

private:
    bool OnKeyPress(GdkEventKey* event);
    void ShowPage(const std::string& page, const std::string& words);
    void Highlight(const std::string& words);

    Gtk::Window& window_;
    WebBrowser& web_;
    std::function<std::string()> book_folder_;
    std::unique_ptr<BookSearchWindow> search_window_;
    sigc::connection key_press_;
    sigc::connection highlight_;
};

}  // namespace quillora
