// What the reader is told when something the book asks for cannot be done: its own file cannot
// be read, a page it loads is none of the book's, a file it opens is not there.
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include <filesystem>
#include <string>
#include <vector>

#include "book_window_test.hpp"

namespace quillora {
namespace {

using test::Page;
using test::RunUntil;

// The texts of the message boxes shown while `show` runs; each is closed with OK once read.
std::vector<std::string> BoxTexts(const std::function<void()>& show)
{
    std::vector<std::string> texts;
    const guint watcher = g_timeout_add(
        50,
        [](gpointer data) -> gboolean {
            auto& out = *static_cast<std::vector<std::string>*>(data);
            GList* toplevels = gtk_window_list_toplevels();
            for (GList* w = toplevels; w != nullptr; w = w->next) {
                auto* dialog = static_cast<GtkWidget*>(w->data);
                if (!GTK_IS_MESSAGE_DIALOG(dialog) || !gtk_widget_get_mapped(dialog)) continue;
                // The text is in the one text view of the box.
                std::vector<GtkWidget*> pending{dialog};
                while (!pending.empty()) {
                    GtkWidget* widget = pending.back();
                    pending.pop_back();
                    if (GTK_IS_TEXT_VIEW(widget)) {
                        GtkTextBuffer* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(widget));
                        GtkTextIter start, end;
                        gtk_text_buffer_get_bounds(buffer, &start, &end);
                        gchar* text = gtk_text_buffer_get_text(buffer, &start, &end, FALSE);
                        out.emplace_back(text);
                        g_free(text);
                    } else if (GTK_IS_CONTAINER(widget)) {
                        GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
                        for (GList* c = children; c != nullptr; c = c->next) pending.push_back(GTK_WIDGET(c->data));
                        g_list_free(children);
                    }
                }
                gtk_dialog_response(GTK_DIALOG(dialog), GTK_RESPONSE_OK);
            }
            g_list_free(toplevels);
            return G_SOURCE_CONTINUE;
        },
        &texts);
    show();
    g_source_remove(watcher);
    return texts;
}

class ReaderMessagesTest : public test::BookWindowTest {
protected:
    std::string Title() { return OrEmpty(webkit_web_view_get_title(window->Web().View())); }
    static std::string OrEmpty(const char* text) { return text != nullptr ? text : ""; }
};

TEST_F(ReaderMessagesTest, SayWhatIsWrongAndWithWhichFile)
{
    ASSERT_TRUE(Start({{"index.html", Page("Home", "")}, {"north.html", Page("North", "")}}));
    const std::string folder = Folder();
    std::filesystem::create_directory(folder + "pages/maps");
    std::filesystem::create_directories(folder + "../outside");
    test::WriteFile(folder + "../outside/secret.html", Page("Secret", ""));
    std::filesystem::create_symlink(folder + "../outside/secret.html", folder + "pages/link.html");

    struct Load {
        const char* label;
        std::string action;
        std::string title;
    };
    // LOADHTML of a path -> the page it names, or the book's own "Page not found" page
    const Load loads[] = {
        {"a page of the book", "LOADHTML \"C:\\Books\\Atlas\\pages\\north.html\"", "North"},
        {"nothing", "LOADHTML \"\"", "Page not found"},
        {"a file of the system", "LOADHTML \"/etc/passwd\"", "Page not found"},
        {"the pages' folder", "LOADHTML \"C:\\Books\\Atlas\\pages\"", "Page not found"},
        {"a folder of the book", "LOADHTML \"C:\\Books\\Atlas\\pages\\maps\"", "Page not found"},
        {"a page beside the book", "LOADHTML \"C:\\Books\\Atlas\\..\\outside\\secret.html\"", "Page not found"},
        {"a link that leads out of the book", "LOADHTML \"C:\\Books\\Atlas\\pages\\link.html\"", "Page not found"},
        {"a page that is not there", "LOADHTML \"C:\\Books\\Atlas\\pages\\gone.html\"", "Page not found"},
        {"a page of the book again", "LOADHTML \"C:\\Books\\Atlas\\pages\\index.html\"", "Home"},
    };
    for (const Load& load : loads) {
        const std::size_t before = loaded.size();
        AtEventBoundary([&] { window->RunAction(load.action); });
        EXPECT_TRUE(RunUntil([&] { return loaded.size() > before && Title() == load.title; }))
            << load.label << ": shows \"" << Title() << "\"";
        EXPECT_EQ(Script("return String(document.body.innerText.includes('root:'))"), "false") << load.label;
    }

    // EXECUTEOROPENFILE of a file that cannot be opened -> a warning box naming it and why
    test::WriteFile(folder + "data.quillora-unknown", std::string("\x01\x02\x03\x04", 4));
    const std::vector<std::string> missing =
        BoxTexts([&] { AtEventBoundary([&] { window->RunAction("EXECUTEOROPENFILE \"[Dir]readme.txt\""); }); });
    ASSERT_EQ(missing.size(), 1u);
    EXPECT_EQ(missing[0], "Cannot open " + folder + "readme.txt: there is no such file");
    const std::vector<std::string> unopened = BoxTexts(
        [&] { AtEventBoundary([&] { window->RunAction("EXECUTEOROPENFILE \"[Dir]data.quillora-unknown\""); }); });
    ASSERT_EQ(unopened.size(), 1u);
    const std::string named = "Cannot open " + folder + "data.quillora-unknown: ";
    EXPECT_EQ(unopened[0].substr(0, named.size()), named);
    EXPECT_GT(unopened[0].size(), named.size()) << "the desktop's reason follows";
    EXPECT_TRUE(reports.empty()) << FirstReport();

    // The book's file cannot be read -> the report names it and says why
    const std::string not_a_file = folder + "pages";
    window = Tform_apresentacao::Create();
    AtEventBoundary([&] { window->FormCreate(not_a_file); });
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0], "The book cannot read its own file " + not_a_file + ": Is a directory.");
}

}  // namespace
}  // namespace quillora
