// Start-up probe for the smallest WebKitGTK program: a window holding one web view that loads
// one page. It prints the same line as the runtime's probe (loaded_report.hpp) when the page has
// loaded, and ends. The yardstick the runtime's start-up is compared with.
//
// Usage: startup_probe_minimal PAGE.html   (an absolute path)
#include <cstdio>
#include <cstdlib>
#include <memory>

#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include "loaded_report.hpp"

namespace {

constexpr unsigned TimeoutSeconds = 60;

struct GFree {
    void operator()(gchar* text) const { g_free(text); }
};

struct Outcome {
    bool loaded = false;
    bool failed = false;
    bool timed_out = false;
};

void QuitLoopIfRunning()
{
    if (gtk_main_level() > 0) gtk_main_quit();
}

void OnLoadChanged(WebKitWebView*, WebKitLoadEvent event, gpointer data)
{
    auto& outcome = *static_cast<Outcome*>(data);
    if (event != WEBKIT_LOAD_FINISHED || outcome.loaded || outcome.failed) return;
    outcome.loaded = true;
    quillora::bench::ReportLoaded();
    QuitLoopIfRunning();
}

gboolean OnLoadFailed(WebKitWebView*, WebKitLoadEvent, gchar* uri, GError* error, gpointer data)
{
    std::fprintf(stderr, "startup_probe_minimal: %s did not load: %s\n", uri, error->message);
    static_cast<Outcome*>(data)->failed = true;
    QuitLoopIfRunning();
    return TRUE;  // no error page: the measurement has failed already
}

gboolean OnTimeout(gpointer data)
{
    std::fprintf(stderr, "startup_probe_minimal: the page did not load within %u s\n",
                 TimeoutSeconds);
    auto& outcome = *static_cast<Outcome*>(data);
    outcome.failed = true;
    outcome.timed_out = true;
    QuitLoopIfRunning();
    return G_SOURCE_REMOVE;
}

}  // namespace

int main(int argc, char* argv[])
{
    gtk_init(&argc, &argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s PAGE.html\n", argv[0]);
        return 2;
    }
    GError* raw_error = nullptr;
    const std::unique_ptr<gchar, GFree> uri(g_filename_to_uri(argv[1], nullptr, &raw_error));
    if (!uri) {
        std::fprintf(stderr, "startup_probe_minimal: %s: %s\n", argv[1], raw_error->message);
        g_error_free(raw_error);
        return 2;
    }

    Outcome outcome;
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_default_size(GTK_WINDOW(window), 800, 600);
    GtkWidget* view = webkit_web_view_new();
    gtk_container_add(GTK_CONTAINER(window), view);
    g_signal_connect(view, "load-changed", G_CALLBACK(OnLoadChanged), &outcome);
    g_signal_connect(view, "load-failed", G_CALLBACK(OnLoadFailed), &outcome);
    g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), nullptr);
    const guint timeout = g_timeout_add_seconds(TimeoutSeconds, OnTimeout, &outcome);

    // Load, then show, as the runtime does.
    webkit_web_view_load_uri(WEBKIT_WEB_VIEW(view), uri.get());
    gtk_widget_show_all(window);
    gtk_main();

    if (!outcome.timed_out) g_source_remove(timeout);
    g_signal_handlers_disconnect_by_data(view, &outcome);
    g_signal_handlers_disconnect_by_func(window, reinterpret_cast<gpointer>(gtk_main_quit), nullptr);
    gtk_widget_destroy(window);
    return outcome.loaded && !outcome.failed ? EXIT_SUCCESS : EXIT_FAILURE;
}
