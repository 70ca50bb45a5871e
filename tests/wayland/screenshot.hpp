#pragma once

// The compositor's output as the reader would see it, read with weston's screenshooter (the
// compositor runs with its debug protocols on for it), and counts of pixels in it.

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <functional>
#include <optional>
#include <string>

#include "common/gobject_ptr.hpp"

namespace quillora::test {

struct Rgb8 {
    int r;
    int g;
    int b;
};

class Screenshot {
public:
    // The whole output now; nullopt when weston-screenshooter failed.
    static std::optional<Screenshot> Take();

    int Width() const;
    int Height() const;
    Rgb8 At(int x, int y) const;
    // Writes it as PNG, for people to look at.
    void Save(const std::string& path) const;
    // How many pixels of the output satisfy `test`.
    int Count(const std::function<bool(Rgb8)>& test) const;

private:
    explicit Screenshot(GObjectPtr<GdkPixbuf> pixbuf) : pixbuf_(std::move(pixbuf)) {}
    GObjectPtr<GdkPixbuf> pixbuf_;
};

}  // namespace quillora::test
