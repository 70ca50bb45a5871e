#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "common/event_boundary.hpp"
#include "ebook_fixture.hpp"
#include "gui_test_support.hpp"
#include "webview/web_browser.hpp"
#include "window/form_apresentacao.hpp"

namespace quillora {
namespace {

using namespace std::chrono_literals;

using test::EBookFixture;
using test::Page;
using test::PlainSettings;

// A resolver that never answers a name: its lookups end only when cancelled. It stands for an
// offline machine whose name server does not reply.
struct SilentResolver {
    GResolver parent;
};
struct SilentResolverClass {
    GResolverClass parent_class;
};
G_DEFINE_TYPE(SilentResolver, silent_resolver, G_TYPE_RESOLVER)

// Heartbeats of the main loop counted when the last silent lookup was cancelled.
int heartbeats = 0;
int heartbeats_at_cancel = -1;
// Silent lookups begun: the check is under way once one has.
int lookups_begun = 0;

gboolean EndLookupAsCancelled(GCancellable*, gpointer task)
{
    heartbeats_at_cancel = heartbeats;
    g_task_return_error_if_cancelled(G_TASK(task));
    return G_SOURCE_REMOVE;
}

void SilentLookup(GResolver* resolver, GCancellable* cancellable, GAsyncReadyCallback callback, gpointer data)
{
    ++lookups_begun;
    GTask* task = g_task_new(resolver, cancellable, callback, data);
    GSource* cancelled = g_cancellable_source_new(cancellable);
    g_task_attach_source(task, cancelled, G_SOURCE_FUNC(EndLookupAsCancelled));
    g_source_unref(cancelled);
    g_object_unref(task);
}

GList* SilentLookupFinish(GResolver*, GAsyncResult* result, GError** error)
{
    return static_cast<GList*>(g_task_propagate_pointer(G_TASK(result), error));
}

void silent_resolver_class_init(SilentResolverClass* klass)
{
    auto* resolver = G_RESOLVER_CLASS(klass);
    resolver->lookup_by_name_async = [](GResolver* r, const gchar*, GCancellable* c, GAsyncReadyCallback cb,
                                        gpointer d) { SilentLookup(r, c, cb, d); };
    resolver->lookup_by_name_finish = SilentLookupFinish;
    resolver->lookup_by_name_with_flags_async = [](GResolver* r, const gchar*, GResolverNameLookupFlags,
                                                   GCancellable* c, GAsyncReadyCallback cb,
                                                   gpointer d) { SilentLookup(r, c, cb, d); };
    resolver->lookup_by_name_with_flags_finish = SilentLookupFinish;
}

void silent_resolver_init(SilentResolver*) {}

// Makes the silent resolver the default while it lives.
class SilentResolverInstalled {
public:
    SilentResolverInstalled() : previous_(g_resolver_get_default())
    {
        GResolver* silent = G_RESOLVER(g_object_new(silent_resolver_get_type(), nullptr));
        g_resolver_set_default(silent);
        g_object_unref(silent);
    }
    ~SilentResolverInstalled()
    {
        g_resolver_set_default(previous_);
        g_object_unref(previous_);
    }
    SilentResolverInstalled(const SilentResolverInstalled&) = delete;
    SilentResolverInstalled& operator=(const SilentResolverInstalled&) = delete;

private:
    GResolver* previous_;
};

enum class PortKind {
    Bound,      // not listening: a connection is refused
    Listening,  // the kernel completes the handshake without any accept
    Full,       // listening with its queue full: a new handshake is never answered
};

// A TCP socket on a free loopback port.
class LoopbackPort {
public:
    explicit LoopbackPort(PortKind kind) : fd_(socket(AF_INET, SOCK_STREAM, 0))
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        EXPECT_EQ(bind(fd_, reinterpret_cast<sockaddr*>(&address), length), 0);
        EXPECT_EQ(getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length), 0);
        port_ = ntohs(address.sin_port);
        if (kind == PortKind::Bound) return;
        EXPECT_EQ(listen(fd_, kind == PortKind::Full ? 0 : 4), 0);
        // A queue of length 0 holds one connection that nobody accepts; later handshakes are dropped.
        for (int i = 0; kind == PortKind::Full && i < 2; ++i) {
            fillers_.push_back(socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0));
            // A non-blocking connect: it returns at once, the queue fills behind it.
            (void)connect(fillers_.back(), reinterpret_cast<sockaddr*>(&address), length);
        }
    }
    ~LoopbackPort()
    {
        for (const int filler : fillers_) close(filler);
        close(fd_);
    }
    LoopbackPort(const LoopbackPort&) = delete;
    LoopbackPort& operator=(const LoopbackPort&) = delete;

    std::string Url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/"; }

private:
    int fd_;
    int port_ = 0;
    std::vector<int> fillers_;
};

// The texts of the message boxes that are up, each answered with OK.
std::vector<std::string> AnswerMessageBoxes()
{
    std::vector<std::string> texts;
    GList* toplevels = gtk_window_list_toplevels();
    for (GList* w = toplevels; w != nullptr; w = w->next) {
        if (GTK_IS_MESSAGE_DIALOG(w->data) && gtk_widget_get_visible(GTK_WIDGET(w->data))) {
            // The box announces its text as its accessible description.
            const char* text = atk_object_get_description(gtk_widget_get_accessible(GTK_WIDGET(w->data)));
            texts.emplace_back(text != nullptr ? text : "");
            gtk_dialog_response(GTK_DIALOG(w->data), GTK_RESPONSE_OK);
        }
    }
    g_list_free(toplevels);
    return texts;
}

enum class Probe { Accepting, Refused, Unanswered, SilentName, SilentNameThenClose };

TEST(InternetCheckTest, TheCheckDecidesBeforeTheHomePageWhileTheMainLoopRuns)
{
    struct Case {
        const char* what;
        Probe probe;
        bool home_page_requested;
        std::vector<std::string> warnings;
        bool runs_to_the_limit;
    };
    const Case cases[] = {
        // a loopback server that accepts -> the home page, no warning
        {"online", Probe::Accepting, true, {}, false},
        // a refused port -> the warning box, then the program ends
        {"refused", Probe::Refused, false, {"No connection."}, false},
        // a server that never answers the handshake -> the check ends by its limit and warns
        {"unanswered handshake", Probe::Unanswered, false, {"No connection."}, true},
        // a name server that never answers -> the same: the limit covers the name lookup
        {"silent name server", Probe::SilentName, false, {"No connection."}, true},
        // the reader closes the window during the check -> it ends, without the warning
        {"closed during the check", Probe::SilentNameThenClose, false, {}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto settings = PlainSettings();
        settings[setting::internet_required] = "-1";
        EBookFixture book(settings);
        book.WritePage("index.html", Page("Home", "<p>home</p>"));

        const LoopbackPort port(c.probe == Probe::Accepting    ? PortKind::Listening
                                : c.probe == Probe::Unanswered ? PortKind::Full
                                                               : PortKind::Bound);
        std::unique_ptr<SilentResolverInstalled> resolver;
        if (c.probe == Probe::SilentName || c.probe == Probe::SilentNameThenClose) {
            resolver = std::make_unique<SilentResolverInstalled>();
            setenv("QUILLORA_PROBE_URL", "http://quillora-probe.invalid/", 1);
        } else {
            setenv("QUILLORA_PROBE_URL", port.Url().c_str(), 1);
        }

        auto window = Tform_apresentacao::Create();
        ASSERT_TRUE(window);
        if (c.probe == Probe::SilentNameThenClose) gtk_widget_show(window->Widget());
        heartbeats = 0;
        heartbeats_at_cancel = -1;
        lookups_begun = 0;
        bool close_asked = false;
        int heartbeats_before_warning = -1;
        std::vector<std::string> warnings;
        Tform_apresentacao* shown = window.get();
        const bool closing = c.probe == Probe::SilentNameThenClose;
        MainLoopSource beat = AddTimeout(50ms, [&] {
            ++heartbeats;
            // Closed while the check waits for its lookup, not at some moment that start-up
            // may not have reached yet on a loaded machine.
            if (closing && lookups_begun > 0 && !close_asked) {
                gtk_window_close(shown->Window());
                close_asked = true;
            }
            const auto texts = AnswerMessageBoxes();
            if (!texts.empty() && heartbeats_before_warning < 0) {
                heartbeats_before_warning = heartbeats - 1;
            }
            warnings.insert(warnings.end(), texts.begin(), texts.end());
            return true;
        });
        const bool started = AtEventBoundary([&] { window->FormCreate(book.ProgramPath()); });
        beat.Remove();
        unsetenv("QUILLORA_PROBE_URL");

        EXPECT_TRUE(started);
        EXPECT_EQ(warnings, c.warnings);
        EXPECT_EQ(window->QuitRequested(), !c.home_page_requested);
        if (c.home_page_requested) {
            gtk_widget_show(window->Widget());
            EXPECT_TRUE(test::RunUntil([&] { return window->Web().HasDocument(); }));
        } else {
            EXPECT_FALSE(window->Web().HasDocument());
        }
        if (c.runs_to_the_limit) {
            // A check that blocked the thread would let a pending timer fire once, at the box.
            EXPECT_GT(heartbeats_before_warning, 1);
        }
        if (resolver) {
            // The lookup was still pending while the main loop beat, and was then cut short.
            EXPECT_GT(heartbeats_at_cancel, 0);
        }
        if (closing) {
            EXPECT_FALSE(gtk_widget_get_visible(window->Widget()));
        }
    }
}

}  // namespace
}  // namespace quillora
