// What start-up does for speed must not cost a page anything: without hardware acceleration CSS
// animations and smooth scrolling still move, and the window shown before the engine's first web
// process starts still gets its page.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "book_window_test.hpp"
#include "common/signal_connection.hpp"

namespace quillora {
namespace {

using test::Page;

class ReaderEngineSettingsTest : public test::BookWindowTest {};

// Resolves once `frames` animation frames have been drawn.
constexpr const char* WaitFrames = R"(
    const frames = (count) => new Promise(done => {
        const step = () => (--count > 0 ? requestAnimationFrame(step) : done());
        requestAnimationFrame(step);
    });
)";

TEST_F(ReaderEngineSettingsTest, ACssAnimationAdvancesFromFrameToFrame)
{
    // a box sliding 1000 px in 60 s -> its position differs between frames some way apart
    ASSERT_TRUE(Start(
        {{"index.html", Page("Animated", "<style>@keyframes slide { from { left: 0px } to { left: 1000px } }"
                                         "#box { position: absolute; width: 20px; height: 20px; background: red;"
                                         " animation: slide 60s linear infinite }</style><div id='box'></div>")}}));
    EXPECT_EQ(Script(std::string(WaitFrames) + R"(
        const left = () => getComputedStyle(document.getElementById('box')).left;
        await frames(2);
        const first = left();
        await frames(30);
        return first !== left() ? 'advanced' : 'still at ' + first;
    )"),
              "advanced");
}

TEST_F(ReaderEngineSettingsTest, SmoothScrollingPassesThroughPositionsBetween)
{
    // a scroll of 3000 px asked to be smooth -> seen at some position between start and end,
    // and it still arrives
    ASSERT_TRUE(Start({{"index.html", Page("Long", "<div style='height: 20000px'>long</div>")}}));
    EXPECT_EQ(Script(std::string(WaitFrames) + R"(
        let between = false;
        window.scrollTo({top: 3000, behavior: 'smooth'});
        while (window.scrollY < 3000) {
            if (window.scrollY > 0) between = true;
            await frames(1);
        }
        return between ? 'smooth' : 'jumped';
    )"),
              "smooth");
}

TEST_F(ReaderEngineSettingsTest, TheHomePageIsAskedForOnceTheWindowIsOnTheScreen)
{
    // start-up -> the window is mapped when the home page's load starts, and the page loads
    book = std::make_unique<test::EBookFixture>(settings);
    book->WritePage("index.html", Page("Home", "home"));
    window = Tform_apresentacao::Create();
    std::vector<bool> mapped_at_start;
    struct Watch {
        std::vector<bool>* seen;
        GtkWidget* window;
    } watch{&mapped_at_start, window->Widget()};
    const SignalConnection load_changed(
        window->Web().View(), "load-changed",
        +[](WebKitWebView*, WebKitLoadEvent event, gpointer data) {
            auto& w = *static_cast<Watch*>(data);
            if (event == WEBKIT_LOAD_STARTED) w.seen->push_back(gtk_widget_get_mapped(w.window));
        },
        &watch);
    loaded_watch =
        window->Web().signal_document_complete.Connect([this](const std::string& url) { loaded.push_back(url); });
    AtEventBoundary([&] { window->FormCreate(book->ProgramPath()); });
    ASSERT_TRUE(test::RunUntil([&] { return !loaded.empty(); }));
    EXPECT_EQ(mapped_at_start, std::vector<bool>{true});
}

}  // namespace
}  // namespace quillora
