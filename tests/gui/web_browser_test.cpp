#include "webview/web_browser.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/error.hpp"
#include "common/event_boundary.hpp"
#include "gui_test_support.hpp"

namespace quillora {
namespace {

using test::EvaluateScript;
using test::Page;
using test::RunUntil;
using namespace std::chrono_literals;

// A browser in a shown window, with every event it raises written down.
class WebBrowserTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetErrorReporter([this](const std::string& text) { reports.push_back(text); });
        window_ = gtk_window_new(GTK_WINDOW_TOPLEVEL);
        gtk_window_set_default_size(GTK_WINDOW(window_), 640, 480);
        GtkWidget* view = webkit_web_view_new();
        gtk_container_add(GTK_CONTAINER(window_), view);
        gtk_widget_show_all(window_);

        browser = std::make_unique<WebBrowser>(WEBKIT_WEB_VIEW(view));
        browser->ApplySafeSettings();
        browser->Connect();
        events.push_back(browser->signal_before_navigate2.Connect([this](const std::string& url, bool& cancel) {
            navigations.push_back(url);
            locations_while_deciding.push_back(browser->LocationURL());
            if (cancel_if) {
                cancel = cancel_if(url);
            }
        }));
        events.push_back(
            browser->signal_document_complete.Connect([this](const std::string& url) { completed.push_back(url); }));
        events.push_back(browser->signal_progress_change.Connect([this](int value) { progress.push_back(value); }));
        events.push_back(
            browser->signal_title_change.Connect([this](const std::string& title) { titles.push_back(title); }));
        events.push_back(browser->signal_command_state_change.Connect([this](int command, bool enable) {
            (command == CSC_NAVIGATEBACK ? back_enabled : forward_enabled) = enable;
            ++command_states;
        }));
    }

    void TearDown() override
    {
        browser.reset();
        gtk_widget_destroy(window_);
        SetErrorReporter(nullptr);
    }

    // Navigates and waits until the page has completed and the progress has ended.
    void Load(const std::string& address)
    {
        const std::size_t before = completed.size();
        browser->Navigate(address);
        WaitForCompletion(before);
    }

    void WaitForCompletion(std::size_t completions_before)
    {
        ASSERT_TRUE(RunUntil([&] {
            return completed.size() > completions_before && !progress.empty() && progress.back() == 0;
        })) << "no document complete";
    }

    // Clicks the element with id `id` in the page, as a user would.
    void Click(const std::string& id)
    {
        EvaluateScript(browser->View(), "document.getElementById('" + id + "').click(); return '';");
    }

    test::TempDir folder;
    std::unique_ptr<WebBrowser> browser;
    std::vector<EventConnection> events;
    std::function<bool(const std::string&)> cancel_if;
    std::vector<std::string> navigations;
    std::vector<std::string> locations_while_deciding;
    std::vector<std::string> completed;
    std::vector<int> progress;
    std::vector<std::string> titles;
    std::vector<std::string> reports;
    std::optional<bool> back_enabled;
    std::optional<bool> forward_enabled;
    int command_states = 0;

private:
    GtkWidget* window_ = nullptr;
};

TEST_F(WebBrowserTest, LoadsFilePathsUnderTheirEscapedFileAddress)
{
    struct Case {
        std::string file_name;
        std::string escaped;  // file name -> how it appears in the completed address
    };
    const Case cases[] = {
        {"plain.html", "plain.html"},
        {"with blank.html", "with%20blank.html"},
        {"hash#question?percent%.html", "hash%23question%3Fpercent%25.html"},
        {"Página ü.html", "P%C3%A1gina%20%C3%BC.html"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file_name);
        const std::string path = folder.Write(c.file_name, Page("T", c.file_name));
        Load(path);
        EXPECT_EQ(completed.back(), folder.Uri(c.escaped));
        EXPECT_EQ(browser->LocationURL(), folder.Uri(c.escaped));
    }
    EXPECT_TRUE(reports.empty());
}

TEST_F(WebBrowserTest, ReportsTitleAndProgressThatEndsWithZero)
{
    EXPECT_FALSE(browser->HasDocument()) << browser->LocationURL();
    Load(folder.Write("a.html", Page("Título da página", "texto")));

    EXPECT_TRUE(browser->HasDocument());
    // The engine may announce the title after the load has finished.
    EXPECT_TRUE(RunUntil([&] { return !titles.empty() && titles.back() == "Título da página"; }));

    // A load shows values in 1..100 and ends with exactly one 0; no value twice in a row.
    ASSERT_GE(progress.size(), 2U);
    EXPECT_EQ(progress.back(), 0);
    for (std::size_t i = 0; i + 1 < progress.size(); ++i) {
        EXPECT_GE(progress[i], 1) << "at " << i;
        EXPECT_LE(progress[i], 100) << "at " << i;
        EXPECT_NE(progress[i], progress[i + 1]) << "at " << i;
    }
}

TEST_F(WebBrowserTest, CommandStatesFollowTheHistory)
{
    const std::string a = folder.Write("a.html", Page("A", "a"));
    const std::string b = folder.Write("b.html", Page("B", "b"));
    Load(a);
    Load(b);
    EXPECT_EQ(back_enabled, true);
    EXPECT_EQ(forward_enabled, false);

    std::size_t before = completed.size();
    browser->GoBack();
    WaitForCompletion(before);
    EXPECT_EQ(completed.back(), folder.Uri("a.html"));
    EXPECT_EQ(back_enabled, false);
    EXPECT_EQ(forward_enabled, true);

    before = completed.size();
    browser->GoForward();
    WaitForCompletion(before);
    EXPECT_EQ(completed.back(), folder.Uri("b.html"));
    EXPECT_EQ(back_enabled, true);
    EXPECT_EQ(forward_enabled, false);
}

TEST_F(WebBrowserTest, GoingWhereTheHistoryHasNoPageThrows)
{
    EXPECT_THROW(browser->GoBack(), Error);
    EXPECT_THROW(browser->GoForward(), Error);
    Load(folder.Write("a.html", Page("A", "a")));
    EXPECT_THROW(browser->GoBack(), Error);
    EXPECT_THROW(browser->GoForward(), Error);
}

TEST_F(WebBrowserTest, AddressesThatAreNeitherUrlsNorFullPathsThrow)
{
    // input -> not navigated
    for (const std::string address : {"", "page.html", "books/page.html", ":no-scheme"}) {
        SCOPED_TRACE(address);
        EXPECT_THROW(browser->Navigate(address), Error);
    }
}

TEST_F(WebBrowserTest, CancellingBeforeNavigateStopsTheNavigation)
{
    folder.Write("b.html", Page("B", "b"));
    const std::string c = folder.Write("c.html", Page("C", "c"));
    Load(folder.Write("a.html", Page("A", "<a id='link' href='b.html'>b</a>")));
    cancel_if = [](const std::string& url) { return url.find("b.html") != std::string::npos; };

    Click("link");
    ASSERT_TRUE(RunUntil([&] { return navigations.back() == folder.Uri("b.html"); }));
    // The next load completes; the cancelled one never did.
    Load(c);
    EXPECT_EQ(completed, (std::vector<std::string>{folder.Uri("a.html"), folder.Uri("c.html")}));
}

TEST_F(WebBrowserTest, ActionLinksArriveAsTheAuthorWroteThem)
{
    struct Case {
        std::string href;      // as written in the page (HTML-escaped where needed)
        std::string expected;  // as the event delivers it
    };
    const Case cases[] = {
        // The engine lower-cases the scheme; non-ASCII characters come back decoded.
        {"ACTION:MESSAGE(%Título%==%Olá mundo%)", "action:MESSAGE(%Título%==%Olá mundo%)"},
        {"action:WEBHOME()", "action:WEBHOME()"},
        // Double quotes and blanks stay; ASCII escapes are not decoded.
        {"ACTION:MESSAGE(&quot;a b&quot;==&quot;c&quot;)", "action:MESSAGE(\"a b\"==\"c\")"},
        {"ACTION:MESSAGE(%a%20b%)-@-WEBBACK()", "action:MESSAGE(%a%20b%)-@-WEBBACK()"},
        {"ACTION:LOADHTML(%C:\\Livros\\Atlas\\mapa.htm%)", "action:LOADHTML(%C:\\Livros\\Atlas\\mapa.htm%)"},
        {"ACTION:MESSAGE(%€ 😀 ß%)", "action:MESSAGE(%€ 😀 ß%)"},
        // Blanks at the ends are dropped; a blank before '#' is written as %20.
        {"  ACTION:WEBSTOP  ", "action:WEBSTOP"},
        {"ACTION:X #y", "action:X%20#y"},
        // Tabs and line ends inside are removed.
        {"ACTION:A&#9;B&#10;C&#13;D", "action:ABCD"},
        // The marker need not begin the address.
        {"http://example.invalid/ACTION:X", "http://example.invalid/ACTION:X"},
    };
    std::string body;
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        body += "<a id='l" + std::to_string(i) + "' href='" + cases[i].href + "'>link</a> ";
    }
    const std::string page = folder.Write("links.html", Page("Links", body));
    Load(page);
    cancel_if = [](const std::string&) { return true; };

    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].href);
        const std::size_t before = navigations.size();
        Click("l" + std::to_string(i));
        ASSERT_TRUE(RunUntil([&] { return navigations.size() > before; }));
        EXPECT_EQ(navigations.back(), cases[i].expected);
        // While the link is decided, the location is the page that holds it.
        EXPECT_EQ(locations_while_deciding.back(), folder.Uri("links.html"));
    }
    EXPECT_EQ(completed.size(), 1U);
    EXPECT_EQ(browser->LocationURL(), folder.Uri("links.html"));
}

TEST_F(WebBrowserTest, ANewWindowIsLoadedInThisViewInstead)
{
    folder.Write("b.html", Page("B", "b"));
    Load(folder.Write("a.html", Page("A", "<a id='link' target='_blank' href='b.html'>b</a>")));
    // A scripted click stands in for the user's; the safe settings would block it as a pop-up.
    webkit_settings_set_javascript_can_open_windows_automatically(webkit_web_view_get_settings(browser->View()), TRUE);
    const std::size_t before = completed.size();
    Click("link");
    WaitForCompletion(before);
    EXPECT_EQ(completed.back(), folder.Uri("b.html"));
    // Raised for the new window, then for the load here.
    EXPECT_EQ(std::count(navigations.begin(), navigations.end(), folder.Uri("b.html")), 2);
}

TEST_F(WebBrowserTest, ANewWindowThatIsCancelledLoadsNothing)
{
    folder.Write("b.html", Page("B", "b"));
    Load(folder.Write("a.html", Page("A", "<a id='link' target='_blank' href='b.html'>b</a>")));
    webkit_settings_set_javascript_can_open_windows_automatically(webkit_web_view_get_settings(browser->View()), TRUE);
    cancel_if = [](const std::string&) { return true; };
    Click("link");
    ASSERT_TRUE(RunUntil([&] { return navigations.back() == folder.Uri("b.html"); }));
    EXPECT_FALSE(RunUntil([&] { return completed.size() > 1 || webkit_web_view_is_loading(browser->View()); }, 1s));
    EXPECT_EQ(completed, std::vector<std::string>{folder.Uri("a.html")});
}

TEST_F(WebBrowserTest, FramesRaiseBeforeNavigateToo)
{
    folder.Write("inner.html", Page("Inner", "inner"));
    Load(folder.Write("outer.html", Page("Outer", "<iframe src='inner.html'></iframe>")));
    EXPECT_NE(std::find(navigations.begin(), navigations.end(), folder.Uri("inner.html")), navigations.end());
}

TEST_F(WebBrowserTest, AHandlerThatThrowsIsReportedAndTheCancelItSetStays)
{
    folder.Write("b.html", Page("B", "b"));
    Load(folder.Write("a.html", Page("A", "<a id='link' href='b.html'>b</a>")));
    events.push_back(browser->signal_before_navigate2.Connect([](const std::string&, bool& cancel) {
        cancel = true;
        throw Error("The action failed");
    }));

    Click("link");
    ASSERT_TRUE(RunUntil([&] { return !reports.empty(); }));
    EXPECT_EQ(reports, std::vector<std::string>{"The action failed."});
    EXPECT_FALSE(RunUntil([&] { return completed.size() > 1 || webkit_web_view_is_loading(browser->View()); }, 1s));
    EXPECT_EQ(completed, std::vector<std::string>{folder.Uri("a.html")});
}

TEST_F(WebBrowserTest, AMissingPageCompletesOnceWithTheEnginesErrorPage)
{
    Load(folder.Write("a.html", Page("A", "a")));
    const std::size_t before = completed.size();
    browser->Navigate((folder.Path() / "missing.html").string());
    WaitForCompletion(before);
    EXPECT_EQ(completed.back(), folder.Uri("missing.html"));
    EXPECT_EQ(progress.back(), 0);
    // A second completion of the missing page would come before that of the next page.
    Load(folder.Write("b.html", Page("B", "b")));
    EXPECT_EQ(completed.size(), before + 2);
    EXPECT_EQ(completed[before], folder.Uri("missing.html"));
}

TEST_F(WebBrowserTest, SelectAllAndCopyPutThePageTextOnTheClipboard)
{
    Load(folder.Write("a.html", Page("A", "Texto da página")));
    browser->ExecWB(OleCmdId::SelectAll, OleCmdExecOpt::PromptUser);
    browser->ExecWB(OleCmdId::Copy, OleCmdExecOpt::PromptUser);
    std::optional<std::string> text;
    ASSERT_TRUE(RunUntil([&] {
        text = test::ClipboardText();
        return text == "Texto da página";
    })) << (text ? *text : "(no text)");
}

TEST_F(WebBrowserTest, PagesShowTheirOwnImagesButScriptsCannotReadFiles)
{
    folder.Write("dot.svg", "<svg xmlns='http://www.w3.org/2000/svg' width='7' height='5'></svg>");
    folder.Write("data.txt", "secret");
    Load(folder.Write("a.html", Page("A", "<img id='img' src='dot.svg'>")));
    EXPECT_EQ(EvaluateScript(browser->View(), "return String(document.getElementById('img').naturalWidth);"), "7");
    EXPECT_EQ(EvaluateScript(browser->View(), "try { await (await fetch('data.txt')).text(); return 'read'; }"
                                              " catch (e) { return 'refused'; }"),
              "refused");
}

TEST_F(WebBrowserTest, BookPagesReadTheBooksFilesAndNothingElse)
{
    folder.Write("outside.txt", "not the book's");
    std::filesystem::create_directories(folder.Path() / "book" / "data");
    folder.Write("book/data/index.json", "{\"pages\": 3}");
    const std::string page = folder.Write("book/a.html", Page("A", "a"));
    browser->AllowFileAccessWithin((folder.Path() / "book").string() + "/");
    Load(page);
    const auto read = [&](const std::string& address) {
        return EvaluateScript(browser->View(), "try { return await (await fetch('" + address +
                                                   "')).text(); } catch (e) { return 'refused'; }");
    };
    // input -> what the page gets
    EXPECT_EQ(read("data/index.json"), "{\"pages\": 3}");
    EXPECT_EQ(read("../outside.txt"), "refused");
    EXPECT_EQ(read("file:///etc/hostname"), "refused");
}

TEST_F(WebBrowserTest, ScriptFailuresGoToTheCallbackAndNotAfterTheBrowserIsGone)
{
    Load(folder.Write("a.html", Page("A", "a")));
    std::optional<std::string> failure;
    browser->RunScript("this is not javascript", [&](const std::string& m) { failure = m; });
    ASSERT_TRUE(RunUntil([&] { return failure.has_value(); }));
    EXPECT_FALSE(failure->empty());

    bool called = false;
    WebKitWebView* view = browser->View();
    browser->RunScript("throw new Error('late')", [&](const std::string&) { called = true; });
    browser.reset();
    // The page answers scripts in turn: once a later one is back, so is the late one's failure.
    EXPECT_EQ(EvaluateScript(view, "return 'after'"), "after");
    EXPECT_FALSE(called);
}

}  // namespace
}  // namespace quillora
