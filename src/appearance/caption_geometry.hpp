#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "appearance/frame.hpp"
#include "appearance/pixel_rect.hpp"

namespace quillora {

// Geometry and colours of the gradient caption bar: everything the painter needs, computed
// without a display. Fonts, icons and theme colours come in through plain values and callables.

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// The system colour indices the caption uses (a toolkit colour 0xFF0000nn names index nn).
namespace system_colour {
inline constexpr int ActiveCaption = 2;
inline constexpr int InactiveCaption = 3;
inline constexpr int WindowText = 8;
inline constexpr int CaptionText = 9;
inline constexpr int InactiveCaptionText = 19;
inline constexpr int GradientActiveCaption = 27;
inline constexpr int GradientInactiveCaption = 28;
}  // namespace system_colour

// The toolkit colour value that names a system colour.
constexpr std::int32_t SystemColourValue(int index)
{
    return static_cast<std::int32_t>(0xFF000000u | static_cast<std::uint32_t>(index & 0xFF));
}

// Resolves a system colour index to the theme's colour.
using SystemColourLookup = std::function<Rgb(int index)>;

// A toolkit colour as red, green and blue: 0x00BBGGRR gives its three low bytes; a value with
// the top bit set (0xFF0000nn and its kin) is the system colour of its low byte, asked from
// `lookup`.
Rgb ResolveToolkitColour(std::int32_t colour, const SystemColourLookup& lookup);

// The frame and caption sizes the caption needs, as the window system reports them.
struct CaptionMetrics {
    int frame_width = 0;  // sizeable frame
    int frame_height = 0;
    int dialog_frame_width = 0;
    int dialog_frame_height = 0;
    int caption_height = 0;
    int small_caption_height = 0;  // tool windows
    int caption_button_width = 0;
    int small_caption_button_width = 0;
    int small_icon_width = 0;
    int small_icon_height = 0;
};

bool IsToolWindow(FrameStyle style);

// The buttons that the caption shows for a frame: a dialog frame keeps only the window menu and
// help, tool windows only the window menu; other frames drop minimise and maximise without a
// window menu, and help next to minimise or maximise.
FrameButtons CaptionButtons(FrameStyle style, FrameButtons buttons);

// The places the caption buttons take: one per button, plus one when exactly one of minimise
// and maximise is present (the window system shows both, one disabled).
int ButtonPlaces(FrameButtons caption_buttons);

struct CaptionArea {
    PixelRect rect;         // window coordinates; width never below 0
    FrameButtons buttons;   // as CaptionButtons gives them
    int button_places = 0;  // right of the area
    int button_width = 0;   // of one place
};

// The caption area of a window `window_width` pixels wide (its outer width): the outer
// rectangle inset by the frame (sizeable-frame sizes for the sizeable kinds, dialog-frame sizes
// for the others), one caption height less one pixel high, ending before the button places.
// A window without a frame has no caption (nullopt).
std::optional<CaptionArea> ComputeCaptionArea(FrameStyle style, FrameButtons buttons, const CaptionMetrics& metrics,
                                              int window_width);

// One vertical band of one colour, from x (relative to the caption area's left) over the
// area's full height.
struct ColourBand {
    int x = 0;
    int width = 0;
    Rgb colour;

    friend bool operator==(const ColourBand&, const ColourBand&) = default;
};

inline constexpr int DefaultGradientSteps = 64;

// Colour k (from 0) of an n-band gradient: start + (end - start) * k / (n - 1) per channel,
// rounded to the nearest whole number; an exact half goes to the even neighbour.
Rgb BandColour(Rgb start, Rgb end, int k, int n);

// The gradient over [left, right): n = max(2, min(steps, width)) bands of width div n each,
// then the width mod n pixels left over in the end colour (one more band, when there are any).
// Equal colours, or fewer than 2 for min(steps, width), give one band of the start colour. An
// empty or inverted range gives no band.
std::vector<ColourBand> GradientBands(Rgb start, Rgb end, int left, int right, int steps);

// The system colour at the right end of the gradient.
int CaptionEndColourIndex(bool active, bool system_paints_gradients);

// Measures the width in pixels of a text drawn in the caption font.
using TextWidth = std::function<int(std::string_view)>;

// The text as drawn into `available` pixels: unchanged when it fits; otherwise its longest
// leading part of at most length - 2 characters (never cutting a UTF-8 sequence) that fits
// with "..." after it, and "..." alone when nothing fits, even when "..." is too wide itself.
// Widths are assumed not to shrink when characters are added, which lets the search take
// O(log n) measurements; the result is the first fit of trying ever shorter leading parts.
std::string ShortenCaptionText(std::string_view text, int available, const TextWidth& measure);

// The gradient caption component's own properties.
struct GradientCaptionStyle {
    std::int32_t start_colour = SystemColourValue(system_colour::WindowText);
    int gradient_steps = DefaultGradientSteps;
    bool gradient_active = true;
    bool gradient_inactive = false;
    std::int32_t font_colour = SystemColourValue(system_colour::CaptionText);
    std::int32_t font_inactive_colour = SystemColourValue(system_colour::InactiveCaptionText);
};

// The state of the window at the moment the caption is painted.
struct CaptionWindow {
    FrameStyle style = FrameStyle::Sizeable;
    FrameButtons buttons;
    CaptionMetrics metrics;
    int width = 0;  // outer width
    bool active = true;
    bool system_paints_gradients = true;
};

// Everything needed to paint the caption bar once. Coordinates inside the bar are relative to
// the caption area's top-left corner.
struct CaptionPaint {
    CaptionArea area;
    // Filled left to right; the first band of a gradient starts left of the area (at -(W div 4)),
    // so only the part from 0 to the area's width shows.
    std::vector<ColourBand> background;
    std::optional<PixelRect> icon;  // small-icon size, when the window icon is drawn
    int text_left = 0;              // the text is drawn from here, vertically centred
    int text_space = 0;             // pixels from text_left to the area's right end
    std::string text;               // shortened to fit text_space
    Rgb text_colour;
};

// Plans the painting of the caption; nullopt for a window without a frame.
std::optional<CaptionPaint> PlanCaption(const GradientCaptionStyle& style, const CaptionWindow& window,
                                        std::string_view caption_text, const SystemColourLookup& lookup,
                                        const TextWidth& measure);

}  // namespace quillora
