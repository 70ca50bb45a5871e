// Renders an SVG icon to a PNG of a given size when the program is built, the way the toolkit
// would render it at start-up, so that the running program needs no SVG renderer for its icons.
//
// Usage: quillora-render-icon IN.svg SIZE OUT.png
#include <cstdio>
#include <cstdlib>

#include <gdk-pixbuf/gdk-pixbuf.h>

int main(int argc, char* argv[])
{
    if (argc != 4 || std::atoi(argv[2]) <= 0) {
        std::fprintf(stderr, "usage: %s IN.svg SIZE OUT.png\n", argv[0]);
        return 2;
    }
    const int size = std::atoi(argv[2]);
    GError* error = nullptr;
    GdkPixbuf* image = gdk_pixbuf_new_from_file_at_size(argv[1], size, size, &error);
    if (image != nullptr && gdk_pixbuf_save(image, argv[3], "png", &error, nullptr)) {
        g_object_unref(image);
        return EXIT_SUCCESS;
    }
    std::fprintf(stderr, "%s: %s\n", argv[0], error != nullptr ? error->message : "cannot render");
    if (error != nullptr) g_error_free(error);
    if (image != nullptr) g_object_unref(image);
    return EXIT_FAILURE;
}
