#include "window/book_search.hpp"

#include <gtkmm/accelgroup.h>
#include <gtkmm/window.h>

#include <filesystem>
#include <sstream>

#include "common/error.hpp"
#include "common/event_boundary.hpp"
#include "webview/web_browser.hpp"
#include "window/book_search_window.hpp"
#include "window/page_path.hpp"

namespace quillora {

std::string BookFolderOf(const std::string& home_page, const std::string& executable_folder)
{
    if (home_page.empty()) {
        return {};
    }
    try {
        return std::filesystem::path(PagePathOf(home_page, executable_folder)).parent_path().string();
    } catch (const Error&) {
        return {};  // a home page without a folder: there is no book to search
    }
}

BookSearch::BookSearch(Gtk::Window& window, WebBrowser& web, std::function<std::string()> book_folder)
    : window_(window), web_(web), book_folder_(std::move(book_folder))
{
    // Before the window's own handling, so that the page does not take the keys first.
    key_press_ = window_.signal_key_press_event().connect(sigc::mem_fun(*this, &BookSearch::OnKeyPress), false);
}

BookSearch::~BookSearch()
{
    key_press_.disconnect();
    highlight_.disconnect();
}

void BookSearch::Open()
{
    if (!search_window_) {
        const std::string folder = book_folder_();
        if (folder.empty()) {
            return;
        }
        search_window_ = std::make_unique<BookSearchWindow>(window_, folder);
        search_window_->signal_page_chosen.connect(sigc::mem_fun(*this, &BookSearch::ShowPage));
    }
    search_window_->Open();
}

bool BookSearch::OnKeyPress(GdkEventKey* event)
{
    const auto modifiers = event->state & gtk_accelerator_get_default_mod_mask();
    if (gdk_keyval_to_lower(event->keyval) != GDK_KEY_f ||
        modifiers != (GDK_CONTROL_MASK | GDK_SHIFT_MASK)) {
        return false;
    }
    AtEventBoundary([this] { Open(); });
    return true;
}

void BookSearch::ShowPage(const std::string& page, const std::string& words)
{
    highlight_.disconnect();
    highlight_ = web_.signal_document_complete.connect([this, words](const std::string&) {
        highlight_.disconnect();
        Highlight(words);
    });
    web_.Navigate(page);
    window_.present();
}

void BookSearch::Highlight(const std::string& words)
{
    // The engine finds one text at a time: the longest word, the one that says most.
    std::istringstream split(words);
    std::string word, longest;
    while (split >> word) {
        if (word.size() > longest.size()) longest = word;
    }
    if (longest.empty()) {
        return;
    }
    WebKitFindController* find = webkit_web_view_get_find_controller(web_.View());
    webkit_find_controller_search(find, longest.c_str(),
                                  WEBKIT_FIND_OPTIONS_CASE_INSENSITIVE | WEBKIT_FIND_OPTIONS_WRAP_AROUND,
                                  G_MAXUINT);
}

}  // namespace quillora
