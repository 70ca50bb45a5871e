// Action links in real pages, the trust rule, programs started by an action, and the start-up
// action, on the real window and engine.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "book_window_test.hpp"
#include "common/unique_fd.hpp"
#include "payload/setting_index.hpp"
#include "webview/engine_settings.hpp"

namespace quillora {
namespace {

using test::Page;
using test::RunUntil;

// Whether a server listens on the loopback port: a connection there is accepted at once or refused.
bool Accepts(int port)
{
    const UniqueFd fd(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return fd.Valid() && connect(fd.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
}

class ActionLinksTest : public test::BookWindowTest {
protected:
    // Starts the book on a home page with the body and a frame page of the book that follows its
    // own action link as soon as it has loaded.
    bool Start(const std::string& home_body)
    {
        return BookWindowTest::Start(
            {{"index.html", Page("Home", home_body)},
             {"frame.html", Page("Frame", "<a id='f' href='ACTION:APPLICATIONTITLE %From a frame%'>f</a>"
                                          "<script>onload = () => document.getElementById('f').click()</script>")}});
    }
    void Run(const std::string& body) { Script(body + "; return ''"); }
    bool TitleBecomes(const std::string& title)
    {
        return RunUntil([&] { return test::TitleOf(window->Window()) == title; });
    }
};

TEST_F(ActionLinksTest, EveryWrittenFormOfALinkRunsAsWritten)
{
    ASSERT_TRUE(Start("<a id='upper' href='ACTION:APPLICATIONTITLE %Café com leite%'>1</a>"
                      "<a id='lower' href='action:hidestatusbar()'>2</a>"
                      "<a id='blank' target='_blank' href='ACTION:DISABLEBUTTONNAVIGATION%20%BUTTON_HOME%'>3</a>"
                      "<iframe src='frame.html'></iframe>"));
    EXPECT_TRUE(TitleBecomes("From a frame"));
    Run("document.getElementById('upper').click()");
    EXPECT_TRUE(TitleBecomes("Café com leite"));
    Run("document.getElementById('lower').click()");
    EXPECT_TRUE(RunUntil([&] { return !gtk_widget_get_visible(window->Component("barra_estado")); }));
    Run("document.getElementById('blank').click()");
    EXPECT_TRUE(RunUntil([&] { return !gtk_widget_get_sensitive(window->Component("b_home")); }));
    Run("location.href = 'ACTION:APPLICATIONTITLE %By script%-@-SHOWSTATUSBAR()'");
    EXPECT_TRUE(TitleBecomes("By script"));
    EXPECT_TRUE(gtk_widget_get_visible(window->Component("barra_estado")));
    EXPECT_EQ(loaded.size(), 1u) << "no action link loads anything";
    EXPECT_TRUE(reports.empty()) << reports.front();
}

TEST_F(ActionLinksTest, PagesFromOutsideTheBookRunNothing)
{
    // A page served on loopback, reached from the book.
    test::TempDir site;
    site.Write("remote.html", Page("Remote", "<a id='r' href='ACTION:APPLICATIONTITLE %Taken over%'>r</a>"));
    const int port = 20000 + static_cast<int>(getpid() % 20000);
    struct Server {
        GPid pid = 0;
        ~Server()
        {
            if (pid != 0) {
                kill(pid, SIGTERM);
                g_spawn_close_pid(pid);
            }
        }
    } server;
    std::string port_text = std::to_string(port);
    std::vector<std::string> words{"python3", "-m", "http.server", "--bind", "127.0.0.1", port_text};
    std::vector<char*> argv;
    for (auto& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    ASSERT_TRUE(g_spawn_async(
        site.Path().c_str(), argv.data(), nullptr,
        static_cast<GSpawnFlags>(G_SPAWN_SEARCH_PATH | G_SPAWN_STDOUT_TO_DEV_NULL | G_SPAWN_STDERR_TO_DEV_NULL),
        nullptr, nullptr, &server.pid, nullptr));
    ASSERT_TRUE(Start(""));
    ASSERT_TRUE(RunUntil([&] { return Accepts(port); }, std::chrono::seconds(60))) << "the server did not start";
    const std::size_t before = loaded.size();
    window->Web().Navigate("http://127.0.0.1:" + std::to_string(port) + "/remote.html");
    ASSERT_TRUE(RunUntil([&] { return loaded.size() > before; }));
    ASSERT_EQ(Script("return document.title"), "Remote");
    Run("document.getElementById('r').click()");
    EXPECT_FALSE(RunUntil([&] { return test::TitleOf(window->Window()) == "Taken over"; }, std::chrono::seconds(1)));
    EXPECT_EQ(Script("return document.title"), "Remote") << "the link stays cancelled";
}

TEST_F(ActionLinksTest, AProgramGetsItsParametersAsAShellWouldSplitThemWithoutAShell)
{
    ASSERT_TRUE(Start(""));
    const std::string out = Folder() + "arguments.txt";
    {
        // The program also says whether it inherited what the runtime set for its engine alone.
        std::ofstream script(Folder() + "show-arguments");
        script << "#!/bin/sh\n{ for a in \"$@\"; do printf '%s\\n' \"$a\"; done;"
                  " echo \"dmabuf=${WEBKIT_DISABLE_DMABUF_RENDERER-unset}\"; } > '"
               << out << "'\n";
    }
    std::filesystem::permissions(Folder() + "show-arguments", std::filesystem::perms::owner_all);
    AtEventBoundary(
        [&] { window->RunAction("EXECUTEOROPENFILE \"[Dir]show-arguments\"==\"one 'two words' $HOME;touch x\""); });
    // The script's last line says what it inherited; once it is there, the file is complete.
    std::string written;
    ASSERT_TRUE(RunUntil([&] {
        std::ifstream result(out);
        std::stringstream lines;
        lines << result.rdbuf();
        written = lines.str();
        return written.find("dmabuf=") != std::string::npos && written.back() == '\n';
    }));
    const char* readers_own = EngineOnlyVariables().empty() ? std::getenv("WEBKIT_DISABLE_DMABUF_RENDERER") : nullptr;
    EXPECT_EQ(written, std::string("one\ntwo words\n$HOME;touch\nx\ndmabuf=") +
                           (readers_own != nullptr ? readers_own : "unset") + "\n");
    EXPECT_FALSE(std::filesystem::exists(Folder() + "x"));
}

TEST_F(ActionLinksTest, TheStartUpActionsErrorEndsStartUpAndItsExitEndsTheProgram)
{
    using namespace setting;
    // An error: reported, and neither the connection check nor the home page follow.
    settings[startup_action] = "APPLICATIONTITLE \"First\"-@-LOADHTML \"nobackslash\"-@-APPLICATIONTITLE \"Later\"";
    settings[home_page] = "index.html";
    EXPECT_FALSE(Start(""));
    EXPECT_EQ(test::TitleOf(window->Window()), "First");
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_TRUE(loaded.empty());

    // An exit: the program ends without the window ever showing, and nothing after it runs.
    reports.clear();
    settings = test::PlainSettings();
    settings[startup_action] = "APPLICATIONEXIT()-@-APPLICATIONTITLE \"Later\"";
    EXPECT_FALSE(Start(""));
    EXPECT_TRUE(window->QuitRequested());
    EXPECT_NE(test::TitleOf(window->Window()), "Later");
    EXPECT_TRUE(reports.empty());
}

}  // namespace
}  // namespace quillora
