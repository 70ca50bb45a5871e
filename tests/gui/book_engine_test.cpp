// The engine under a book: folders of any name, home pages that are no pages, website data that
// no other book or run sees, and a web process that ends while the book is open.
#include <gtk/gtk.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "book_window_test.hpp"
#include "payload/setting_index.hpp"

namespace quillora {
namespace {

using test::Page;
using test::RunUntil;

// The engine's web processes that this test program started.
std::set<pid_t> WebProcesses()
{
    std::set<pid_t> found;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        std::ifstream stat(entry.path() / "stat");
        std::string line;
        std::getline(stat, line);
        // "pid (comm) state ppid ...": the command name may hold blanks, so read from its end.
        const auto close = line.rfind(')');
        if (close == std::string::npos || line.find("(WebKitWebProces") == std::string::npos) {
            continue;
        }
        pid_t parent = 0;
        char state = 0;
        if (std::sscanf(line.c_str() + close + 1, " %c %d", &state, &parent) == 2 && parent == getpid()) {
            found.insert(static_cast<pid_t>(std::stoi(name)));
        }
    }
    return found;
}

// The first widget of `type` in the tree below `widget`, or null.
GtkWidget* FindWidget(GtkWidget* widget, GType type)
{
    if (G_TYPE_CHECK_INSTANCE_TYPE(widget, type)) {
        return widget;
    }
    GtkWidget* found = nullptr;
    if (GTK_IS_CONTAINER(widget)) {
        GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
        for (GList* child = children; child != nullptr && found == nullptr; child = child->next) {
            found = FindWidget(GTK_WIDGET(child->data), type);
        }
        g_list_free(children);
    }
    return found;
}

// The caption of every message box shown while `body` runs; each is answered with OK.
std::vector<std::string> MessageBoxesDuring(const std::function<void()>& body)
{
    std::vector<std::string> captions;
    const guint closer = g_timeout_add(50, [](gpointer data) -> gboolean {
        GList* windows = gtk_window_list_toplevels();
        for (GList* w = windows; w != nullptr; w = w->next) {
            if (GTK_IS_DIALOG(w->data) && gtk_widget_get_visible(GTK_WIDGET(w->data))) {
                const char* title = gtk_window_get_title(GTK_WINDOW(w->data));
                static_cast<std::vector<std::string>*>(data)->push_back(title != nullptr ? title : "");
                gtk_dialog_response(GTK_DIALOG(w->data), GTK_RESPONSE_OK);
            }
        }
        g_list_free(windows);
        return G_SOURCE_CONTINUE;
    }, &captions);
    body();
    g_source_remove(closer);
    return captions;
}

// A page that reads a file of the book and runs an action link, and says how both went in its title.
const std::string ReadingPage = Page(
    "reading",
    "<a id='act' href='ACTION:APPLICATIONTITLE %Action ran%'>a</a><script>"
    "fetch('data.txt').then(r => r.text()).then(t => { document.title = 'read ' + t; },"
    "                                               e => { document.title = 'failed ' + e; });"
    "</script>");

class BookEngineTest : public test::BookWindowTest {
protected:
    bool PageTitleIs(const std::string& text)
    {
        return RunUntil([&] { return Script("return document.title") == text; },
                        std::chrono::seconds(10));
    }
};

TEST_F(BookEngineTest, BooksInFoldersOfAnyNameShowTheirPagesReadTheirFilesAndRunActions)
{
    // folder name -> the home page shows, reads data.txt beside it, and its action links run
    for (const std::string name : {"caf\xE9", "a b#c%d?e", "café"}) {
        book_folder = name;
        ASSERT_TRUE(Start({{"index.html", ReadingPage}, {"data.txt", "DATA"}})) << name;
        EXPECT_TRUE(PageTitleIs("read DATA")) << name;
        Script("document.getElementById('act').click(); return ''");
        EXPECT_TRUE(RunUntil([&] { return window->get_title() == "Action ran"; }, std::chrono::seconds(5)))
            << name;
        EXPECT_TRUE(reports.empty()) << name << ": " << FirstReport();
    }
}

TEST_F(BookEngineTest, HomePagesThatAreNoFilesGetTheBooksMissingPageBox)
{
    const std::function<void(const std::string&)> makers[] = {
        // a dangling link -> the missing-page box
        [](const std::string& path) { std::filesystem::create_symlink("gone.html", path); },
        // a FIFO, which would never finish loading -> the missing-page box
        [](const std::string& path) { ASSERT_EQ(mkfifo(path.c_str(), 0600), 0); },
        // a folder -> the missing-page box
        [](const std::string& path) { std::filesystem::create_directory(path); },
    };
    for (const auto& make : makers) {
        window = Tform_apresentacao::Create();
        book = std::make_unique<test::EBookFixture>(settings);
        make(std::filesystem::path(book->ProgramPath()).parent_path() / "pages" / "index.html");
        const auto boxes = MessageBoxesDuring([&] { AtEventBoundary([&] { window->FormCreate(book->ProgramPath()); }); });
        EXPECT_EQ(boxes, std::vector<std::string>{"Quillora"}) << "the book's own warning";
        EXPECT_TRUE(window->QuitRequested());
        EXPECT_FALSE(window->Web().HasDocument());
    }
    EXPECT_TRUE(reports.empty()) << FirstReport();
}

TEST_F(BookEngineTest, NoOtherBookOrRunSeesAPagesStoredData)
{
    const std::string store = "localStorage.setItem('seen', 'A'); return localStorage.getItem('seen')";
    const std::string read = "return String(localStorage.getItem('seen'))";
    ASSERT_TRUE(Start({{"index.html", Page("A", "")}}));
    ASSERT_EQ(Script(store), "A");

    // A second book open at the same time -> sees nothing of the first.
    test::EBookFixture other(settings);
    other.WritePage("index.html", Page("B", ""));
    auto second = Tform_apresentacao::Create();
    bool second_loaded = false;
    const EventConnection second_watch =
        second->Web().signal_document_complete.Connect([&](const std::string&) { second_loaded = true; });
    AtEventBoundary([&] { second->FormCreate(other.ProgramPath()); });
    ASSERT_TRUE(RunUntil([&] { return second_loaded; }));
    EXPECT_EQ(test::EvaluateScript(second->Web().View(), read), "null");
    second.reset();

    // The same book run again -> starts with nothing stored.
    window.reset();
    window = Tform_apresentacao::Create();
    loaded.clear();
    loaded_watch = window->Web().signal_document_complete.Connect(
        [this](const std::string& url) { loaded.push_back(url); });
    AtEventBoundary([&] { window->FormCreate(book->ProgramPath()); });
    ASSERT_TRUE(RunUntil([&] { return !loaded.empty(); }));
    EXPECT_EQ(Script(read), "null");
}

TEST_F(BookEngineTest, AnEndedWebProcessIsReportedAndReloadBringsThePageBack)
{
    const std::set<pid_t> before = WebProcesses();
    ASSERT_TRUE(Start({{"index.html", ReadingPage}, {"data.txt", "DATA"}}));
    ASSERT_TRUE(PageTitleIs("read DATA"));
    auto* bar = FindWidget(GTK_WIDGET(window->gobj()), GTK_TYPE_INFO_BAR);
    ASSERT_NE(bar, nullptr);
    EXPECT_FALSE(gtk_widget_get_visible(bar));

    for (const pid_t pid : WebProcesses()) {
        if (before.count(pid) == 0) {
            kill(pid, SIGKILL);
        }
    }
    ASSERT_TRUE(RunUntil([&] { return gtk_widget_get_visible(bar); }));
    EXPECT_STREQ(atk_object_get_name(gtk_widget_get_accessible(bar)), "Page stopped");
    GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(window->gobj()));
    ASSERT_TRUE(focus != nullptr && GTK_IS_BUTTON(focus)) << "the Reload button has the keyboard";
    EXPECT_STREQ(gtk_button_get_label(GTK_BUTTON(focus)), "_Reload");

    loaded.clear();
    ASSERT_TRUE(test::Xdotool(gtk_widget_get_window(GTK_WIDGET(window->gobj())), "key Return"));
    ASSERT_TRUE(RunUntil([&] { return !loaded.empty(); }));
    EXPECT_FALSE(gtk_widget_get_visible(bar));
    EXPECT_TRUE(PageTitleIs("read DATA")) << "the page reads the book's files again";
    EXPECT_TRUE(reports.empty()) << FirstReport();
}

}  // namespace
}  // namespace quillora
