#include "window/book_search.hpp"

#include <filesystem>
#include <sstream>

#include "book/page_path.hpp"
#include "common/error.hpp"
#include "webview/web_browser.hpp"
#include "window/book_search_window.hpp"
#include "window/find_bar.hpp"

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

BookSearch::BookSearch(GtkWindow* window, WebBrowser& web, FindBar& find, std::function<std::string()> book_folder)
    : window_(window)
    , web_(web)
    , find_(find)
    , book_folder_(std::move(book_folder))
{}

BookSearch::~BookSearch() = default;

void BookSearch::Open()
{
    if (!search_window_) {
        const std::string folder = book_folder_();
        if (folder.empty()) {
            return;
        }
        search_window_ = std::make_unique<BookSearchWindow>(window_, folder);
        page_chosen_ = search_window_->signal_page_chosen.Connect(
            [this](const std::string& page, const std::string& words) { ShowPage(page, words); });
    }
    search_window_->Open();
}

void BookSearch::ShowPage(const std::string& page, const std::string& words)
{
    highlight_ = web_.signal_document_complete.Connect([this, words](const std::string&) {
        highlight_.Disconnect();  // the handler and its copy of the words stay until it returns
        Highlight(words);
    });
    web_.Navigate(page);
    gtk_window_present(window_);
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
    find_.Open(longest);
}

}  // namespace quillora
