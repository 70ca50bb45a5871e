// Searching the whole book with real keys: Ctrl+Shift+F, typing, Enter on a result opens the
// page with the words highlighted, Escape closes the search.
#include <gtest/gtest.h>

#include <string>

#include "book_window_test.hpp"
#include "window/book_search.hpp"
#include "window/book_search_window.hpp"
#include "window/find_bar.hpp"

namespace quillora {
namespace {

using test::Page;
using test::RunUntil;

class BookSearchTest : public test::BookWindowTest {
protected:
    void Keys(GtkWindow* target, const std::string& arguments)
    {
        ASSERT_TRUE(test::Xdotool(gtk_widget_get_window(GTK_WIDGET(target)), arguments)) << arguments;
    }

    static int RowCount(GtkListBox* list) { return static_cast<int>(ChildrenOf(GTK_WIDGET(list)).size()); }

    static const char* RowName(GtkListBox* list, int index)
    {
        return atk_object_get_name(gtk_widget_get_accessible(GTK_WIDGET(gtk_list_box_get_row_at_index(list, index))));
    }
};

void CountMatches(WebKitFindController*, guint count, gpointer matches)
{
    *static_cast<guint*>(matches) = count;
}

TEST_F(BookSearchTest, TypedWordsListPagesBestFirstAndEnterOpensTheChosenOneHighlighted)
{
    // A book of a few hundred pages; only two speak of the lighthouse, one in its title.
    Pages pages = {{"index.html", Page("Home", "<p>Welcome</p>")}};
    for (int i = 0; i < 300; ++i) {
        pages.emplace_back(
            "chapter-" + std::to_string(i) + ".html",
            Page("Chapter " + std::to_string(i), "<p>The sea and the shore, page " + std::to_string(i) + ".</p>"));
    }
    pages.emplace_back("coast/keeper.html", Page("The Lighthouse", "<p>Its keeper lit the lamp.</p>"));
    pages.emplace_back("harbour.html", Page("Harbour", "<p>Far off, a lighthouse blinked twice.</p>"));
    ASSERT_TRUE(Start(pages)) << FirstReport();

    Keys(window->Window(), "key ctrl+shift+f");
    ASSERT_TRUE(RunUntil([&] {
        auto* search = window->Search().SearchWindow();
        return search != nullptr && gtk_widget_get_visible(GTK_WIDGET(search->Window())) && search->Indexed();
    }));
    BookSearchWindow& search = *window->Search().SearchWindow();
    Keys(search.Window(), "type --delay 20 lighth");
    ASSERT_TRUE(RunUntil([&] { return RowCount(search.Results()) == 2; }));
    // The title match comes first.
    EXPECT_STREQ(RowName(search.Results(), 0), "The Lighthouse");
    EXPECT_STREQ(RowName(search.Results(), 1), "Harbour");

    guint matches = 0;
    g_signal_connect(webkit_web_view_get_find_controller(window->Web().View()), "found-text", G_CALLBACK(CountMatches),
                     &matches);
    Keys(search.Window(), "key Down key Down key Return");  // to the list, the second page, open it
    ASSERT_TRUE(RunUntil([&] { return loaded.size() == 2 && matches > 0; }));
    EXPECT_EQ(window->Web().LocalPathOf(loaded.back()), Folder() + "pages/harbour.html");
    EXPECT_FALSE(gtk_widget_get_visible(GTK_WIDGET(search.Window())));
    EXPECT_TRUE(window->Find().IsOpen());  // the find bar shows the matches and steps through them
    g_signal_handlers_disconnect_by_func(webkit_web_view_get_find_controller(window->Web().View()),
                                         reinterpret_cast<gpointer>(CountMatches), &matches);

    // Open again: the words are kept; Escape closes.
    Keys(window->Window(), "key ctrl+shift+f");
    ASSERT_TRUE(RunUntil([&] { return gtk_widget_get_visible(GTK_WIDGET(search.Window())); }));
    EXPECT_STREQ(gtk_entry_get_text(GTK_ENTRY(search.Entry())), "lighth");
    Keys(search.Window(), "key Escape");
    EXPECT_TRUE(RunUntil([&] { return !gtk_widget_get_visible(GTK_WIDGET(search.Window())); }));
    EXPECT_TRUE(reports.empty()) << FirstReport();
}

}  // namespace
}  // namespace quillora
