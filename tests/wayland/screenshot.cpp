#include "screenshot.hpp"

#include <filesystem>

#include "support/temp_files.hpp"

namespace quillora::test {

std::optional<Screenshot> Screenshot::Take()
{
    // It writes wayland-screenshot-TIME.png into its working folder.
    const TempDir folder;
    const std::string where = folder.Path().string();
    const char* argv[] = {"weston-screenshooter", nullptr};
    int status = -1;
    if (!g_spawn_sync(where.c_str(), const_cast<char**>(argv), nullptr, G_SPAWN_SEARCH_PATH, nullptr, nullptr, nullptr,
                      nullptr, &status, nullptr) ||
        status != 0) {
        return std::nullopt;
    }
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
        if (entry.path().extension() == ".png") {
            auto pixbuf = GObjectPtr<GdkPixbuf>::Adopt(gdk_pixbuf_new_from_file(entry.path().c_str(), nullptr));
            if (pixbuf) return Screenshot(std::move(pixbuf));
        }
    }
    return std::nullopt;
}

void Screenshot::Save(const std::string& path) const
{
    gdk_pixbuf_save(pixbuf_.get(), path.c_str(), "png", nullptr, nullptr);
}

int Screenshot::Width() const
{
    return gdk_pixbuf_get_width(pixbuf_.get());
}
int Screenshot::Height() const
{
    return gdk_pixbuf_get_height(pixbuf_.get());
}

Rgb8 Screenshot::At(int x, int y) const
{
    const guint8* p = gdk_pixbuf_get_pixels(pixbuf_.get()) + y * gdk_pixbuf_get_rowstride(pixbuf_.get()) +
                      x * gdk_pixbuf_get_n_channels(pixbuf_.get());
    return {p[0], p[1], p[2]};
}

int Screenshot::Count(const std::function<bool(Rgb8)>& test) const
{
    int count = 0;
    for (int y = 0; y < Height(); ++y) {
        for (int x = 0; x < Width(); ++x) {
            if (test(At(x, y))) ++count;
        }
    }
    return count;
}

}  // namespace quillora::test
