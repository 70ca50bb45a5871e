// The engine under a book: folders of any name, home pages that are no pages, website data that
// no other book or run sees, and a web process that ends while the book is open, killed or held
// to its memory limit.
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <string>

#include "book_window_test.hpp"
#include "payload/setting_index.hpp"
#include "webview/web_engine_context.hpp"
#include "webview/web_process_watchdog.hpp"

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
    const guint closer = g_timeout_add(
        50,
        [](gpointer data) -> gboolean {
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
        },
        &captions);
    body();
    g_source_remove(closer);
    return captions;
}

// A page that reads a file of the book and runs an action link, and says how both went in its title.
const std::string ReadingPage =
    Page("reading", "<a id='act' href='ACTION:APPLICATIONTITLE %Action ran%'>a</a><script>"
                    "fetch('data.txt').then(r => r.text()).then(t => { document.title = 'read ' + t; },"
                    "                                               e => { document.title = 'failed ' + e; });"
                    "</script>");

class BookEngineTest : public test::BookWindowTest {
protected:
    bool PageTitleIs(const std::string& text)
    {
        return RunUntil([&] { return Script("return document.title") == text; }, std::chrono::seconds(10));
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
        EXPECT_TRUE(RunUntil([&] { return test::TitleOf(window->Window()) == "Action ran"; })) << name;
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
        const auto boxes =
            MessageBoxesDuring([&] { AtEventBoundary([&] { window->FormCreate(book->ProgramPath()); }); });
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
    loaded_watch =
        window->Web().signal_document_complete.Connect([this](const std::string& url) { loaded.push_back(url); });
    AtEventBoundary([&] { window->FormCreate(book->ProgramPath()); });
    ASSERT_TRUE(RunUntil([&] { return !loaded.empty(); }));
    EXPECT_EQ(Script(read), "null");
}

// The web processes started since `before` was taken.
std::set<pid_t> WebProcessesSince(const std::set<pid_t>& before)
{
    std::set<pid_t> found;
    for (const pid_t pid : WebProcesses()) {
        if (before.count(pid) == 0) {
            found.insert(pid);
        }
    }
    return found;
}

// The resident memory of the web processes started since `before`, read from /proc on the
// test's own, apart from the program's watchdog.
std::uint64_t WebProcessesResident(const std::set<pid_t>& before)
{
    std::uint64_t sum = 0;
    for (const pid_t pid : WebProcessesSince(before)) {
        std::ifstream statm("/proc/" + std::to_string(pid) + "/statm");
        std::uint64_t size = 0;
        std::uint64_t resident = 0;
        if (statm >> size >> resident) {
            sum += resident * static_cast<std::uint64_t>(sysconf(_SC_PAGESIZE));
        }
    }
    return sum;
}

// Takes the largest memory the web processes held at any look, once every 50 ms; past
// `safety_cap` it ends them itself, so that a watchdog that fails cannot take the machine down.
class MemorySampler {
public:
    MemorySampler(std::set<pid_t> before, std::uint64_t safety_cap) : before_(std::move(before)), cap_(safety_cap)
    {
        // Below the engine's own sources: a look that takes longer than the interval (under the
        // sanitizers) must not keep the news of an ended process from being dispatched.
        timer_ = g_timeout_add_full(
            G_PRIORITY_LOW, 50,
            [](gpointer self) -> gboolean {
                static_cast<MemorySampler*>(self)->Sample();
                return G_SOURCE_CONTINUE;
            },
            this, nullptr);
    }
    ~MemorySampler() { g_source_remove(timer_); }
    MemorySampler(const MemorySampler&) = delete;
    MemorySampler& operator=(const MemorySampler&) = delete;

    std::uint64_t peak = 0;
    bool capped = false;
    // When a look first found more than `threshold`.
    std::optional<std::chrono::steady_clock::time_point> first_past;
    std::uint64_t threshold = 0;

private:
    void Sample()
    {
        const std::uint64_t now = WebProcessesResident(before_);
        peak = std::max(peak, now);
        if (threshold != 0 && now > threshold && !first_past) {
            first_past = std::chrono::steady_clock::now();
        }
        if (now > cap_ && !capped) {
            capped = true;
            for (const pid_t pid : WebProcessesSince(before_)) {
                kill(pid, SIGKILL);
            }
        }
    }

    std::set<pid_t> before_;
    std::uint64_t cap_;
    guint timer_ = 0;
};

constexpr std::uint64_t MiB = 1024 * 1024;

TEST_F(BookEngineTest, AnEndedWebProcessIsReportedAndReloadBringsThePageBack)
{
    // Small enough to reach in a few seconds, well above what the page needs to be shown.
    constexpr std::uint64_t Limit = 768 * MiB;
    // how the process ends -> what the bar says
    struct Case {
        const char* what;
        std::function<void(Tform_apresentacao&, const std::set<pid_t>& before)> end;
        const char* text;
    } cases[] = {
        {"killed from outside",
         [](Tform_apresentacao&, const std::set<pid_t>& before) {
             for (const pid_t pid : WebProcessesSince(before)) {
                 kill(pid, SIGKILL);
             }
         },
         "ended unexpectedly"},
        // The engine looks at its memory on the thread that this loop never gives back.
        {"a script that never yields hoards memory",
         [](Tform_apresentacao& book_window, const std::set<pid_t>&) {
             book_window.Web().RunScript(
                 "let keep = []; for (;;) { const a = new Uint8Array(50 << 20); a.fill(7); keep.push(a); }",
                 [](const std::string&) {});
         },
         "more memory"},
        {"a script hoards memory in steps",
         [](Tform_apresentacao& book_window, const std::set<pid_t>&) {
             book_window.Web().RunScript(
                 "window.keep = []; (function more() { const a = new Uint8Array(50 << 20); a.fill(7);"
                 " keep.push(a); setTimeout(more, 0); })(); 'started'",
                 [](const std::string&) {});
         },
         "more memory"},
    };
    for (const auto& c : cases) {
        const std::set<pid_t> before = WebProcesses();
        ASSERT_TRUE(Start({{"index.html", ReadingPage}, {"data.txt", "DATA"}})) << c.what;
        ASSERT_TRUE(PageTitleIs("read DATA")) << c.what;
        EXPECT_EQ(window->Watchdog().LimitBytes(), WebProcessMemoryLimitBytes()) << "the engine's own limit";
        window->Watchdog().SetLimitBytes(Limit);
        auto* bar = FindWidget(window->Widget(), GTK_TYPE_INFO_BAR);
        ASSERT_NE(bar, nullptr);
        EXPECT_FALSE(gtk_widget_get_visible(bar)) << c.what;

        MemorySampler sampler(before, Limit + 3072 * MiB);
        sampler.threshold = Limit;
        c.end(*window, before);
        ASSERT_TRUE(RunUntil([&] { return gtk_widget_get_visible(bar); }, std::chrono::seconds(60))) << c.what;
        const auto shown = std::chrono::steady_clock::now();
        EXPECT_FALSE(sampler.capped) << c.what << ": the test had to end the web process itself";
        // One look's worth of growth past the limit, and more, stays far below the cap.
        EXPECT_LT(sampler.peak, Limit + 2048 * MiB) << c.what;
        if (sampler.first_past) {
            std::printf(
                "%s: peak %llu MiB, bar %lld ms after the limit was passed\n", c.what,
                static_cast<unsigned long long>(sampler.peak / MiB),
                static_cast<long long>(
                    std::chrono::duration_cast<std::chrono::milliseconds>(shown - *sampler.first_past).count()));
        }
        EXPECT_STREQ(atk_object_get_name(gtk_widget_get_accessible(bar)), "Page stopped");
        const std::string description = atk_object_get_description(gtk_widget_get_accessible(bar));
        EXPECT_NE(description.find(c.text), std::string::npos) << c.what << ": " << description;
        GtkWidget* focus = gtk_window_get_focus(window->Window());
        ASSERT_TRUE(focus != nullptr && GTK_IS_BUTTON(focus)) << "the Reload button has the keyboard";
        EXPECT_STREQ(gtk_button_get_label(GTK_BUTTON(focus)), "_Reload");
        EXPECT_TRUE(RunUntil([&] { return WebProcessesResident(before) < 256 * MiB; }))
            << c.what << ": the hoarding process is gone";

        loaded.clear();
        ASSERT_TRUE(test::Xdotool(gtk_widget_get_window(window->Widget()), "key Return"));
        ASSERT_TRUE(RunUntil([&] { return !loaded.empty(); })) << c.what;
        EXPECT_FALSE(gtk_widget_get_visible(bar)) << c.what;
        EXPECT_TRUE(PageTitleIs("read DATA")) << c.what << ": the page reads the book's files again";
        EXPECT_TRUE(reports.empty()) << FirstReport();
    }
}

}  // namespace
}  // namespace quillora
