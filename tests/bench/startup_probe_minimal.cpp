// The smallest program a reader could write instead of an e-book: a window holding one default
// WebKitWebView that loads one page, and nothing else. scripts/measure-startup watches it from
// outside next to the packed e-book, so it reports nothing itself and runs until it is ended.
//
// Usage: startup_probe_minimal PAGE.html WIDTH HEIGHT   (an absolute path; the book's window size)
#include <cstdio>
#include <cstdlib>

#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

int main(int argc, char* argv[])
{
    gtk_init(&argc, &argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s PAGE.html WIDTH HEIGHT\n", argv[0]);
        return 2;
    }
    gchar* uri = g_filename_to_uri(argv[1], nullptr, nullptr);
    if (uri == nullptr) {
        std::fprintf(stderr, "%s: %s is not an absolute path\n", argv[0], argv[1]);
        return 2;
    }

    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_default_size(GTK_WINDOW(window), std::atoi(argv[2]), std::atoi(argv[3]));
    GtkWidget* view = webkit_web_view_new();
    gtk_container_add(GTK_CONTAINER(window), view);
    g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), nullptr);

    webkit_web_view_load_uri(WEBKIT_WEB_VIEW(view), uri);
    g_free(uri);
    gtk_widget_show_all(window);
    gtk_main();
    return EXIT_SUCCESS;
}
