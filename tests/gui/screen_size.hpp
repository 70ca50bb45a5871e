#pragma once

// The virtual display at another size, as a reader's smaller or larger screen would be: its one
// monitor (and so the work area, with no panels on the display) takes the new size. Kept apart
// from the tests, whose names clash with Xlib's macros.

namespace quillora::test {

struct PixelSize {
    int width = 0;
    int height = 0;
};

// Sets the display's screen and its monitor to `size` (no larger than the display was started
// with) and waits until GDK reports it; false when that fails. The size stays until it is set
// again.
bool SetScreenSize(PixelSize size);
// The screen's size as the X server has it now.
PixelSize ScreenSize();

// The display at `size` while this lives, back at its former size afterwards.
class ScreenSizeScope {
public:
    explicit ScreenSizeScope(PixelSize size) : former_(ScreenSize()), set_(SetScreenSize(size)) {}
    ~ScreenSizeScope() { SetScreenSize(former_); }
    ScreenSizeScope(const ScreenSizeScope&) = delete;
    ScreenSizeScope& operator=(const ScreenSizeScope&) = delete;

    [[nodiscard]] bool Set() const { return set_; }

private:
    PixelSize former_;
    bool set_;
};

}  // namespace quillora::test
