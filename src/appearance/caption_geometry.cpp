#include "appearance/caption_geometry.hpp"

#include <algorithm>
#include <cstddef>

namespace quillora {

namespace {

std::uint8_t RoundedChannel(int start, int end, int k, int n)
{
    // start + (end - start) * k / (n - 1) as one fraction; it lies between the two channel
    // values, so it is never negative.
    const int den = n - 1;
    const int num = start * den + (end - start) * k;
    int quotient = num / den;
    const int twice_remainder = 2 * (num % den);
    if (twice_remainder > den || (twice_remainder == den && quotient % 2 != 0)) ++quotient;
    return static_cast<std::uint8_t>(quotient);
}

// Byte offsets where the characters of a UTF-8 text begin, plus the text's end.
std::vector<std::size_t> CharacterStarts(std::string_view text)
{
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < text.size(); ++i)
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 || i == 0) starts.push_back(i);
    starts.push_back(text.size());
    return starts;
}

}  // namespace

Rgb ResolveToolkitColour(std::int32_t colour, const SystemColourLookup& lookup)
{
    const auto value = static_cast<std::uint32_t>(colour);
    if (colour < 0) return lookup(static_cast<int>(value & 0xFF));
    return Rgb{static_cast<std::uint8_t>(value & 0xFF), static_cast<std::uint8_t>((value >> 8) & 0xFF),
               static_cast<std::uint8_t>((value >> 16) & 0xFF)};
}

bool IsToolWindow(FrameStyle style)
{
    return style == FrameStyle::ToolWindow || style == FrameStyle::SizeableToolWindow;
}

FrameButtons CaptionButtons(FrameStyle style, FrameButtons buttons)
{
    if (style == FrameStyle::Dialog) return FrameButtons{buttons.window_menu, false, false, buttons.help};
    if (IsToolWindow(style)) return FrameButtons{buttons.window_menu, false, false, false};
    if (!buttons.window_menu) buttons.minimize = buttons.maximize = false;
    if (buttons.minimize || buttons.maximize) buttons.help = false;
    return buttons;
}

int ButtonPlaces(FrameButtons caption_buttons)
{
    const int count = int{caption_buttons.window_menu} + int{caption_buttons.minimize} + int{caption_buttons.maximize} +
                      int{caption_buttons.help};
    return count + (caption_buttons.minimize != caption_buttons.maximize ? 1 : 0);
}

std::optional<CaptionArea> ComputeCaptionArea(FrameStyle style, FrameButtons buttons, const CaptionMetrics& metrics,
                                              int window_width)
{
    if (style == FrameStyle::None) return std::nullopt;
    const bool tool = IsToolWindow(style);
    const bool sizeable = style == FrameStyle::Sizeable || style == FrameStyle::SizeableToolWindow;
    const int inset_x = sizeable ? metrics.frame_width : metrics.dialog_frame_width;
    const int inset_y = sizeable ? metrics.frame_height : metrics.dialog_frame_height;

    CaptionArea area;
    area.buttons = CaptionButtons(style, buttons);
    area.button_places = ButtonPlaces(area.buttons);
    area.button_width = tool ? metrics.small_caption_button_width : metrics.caption_button_width;
    const int right = window_width - inset_x - area.button_places * area.button_width;
    const int height = (tool ? metrics.small_caption_height : metrics.caption_height) - 1;
    area.rect = PixelRect{inset_x, inset_y, std::max(0, right - inset_x), std::max(0, height)};
    return area;
}

Rgb BandColour(Rgb start, Rgb end, int k, int n)
{
    if (n < 2) return start;
    return Rgb{RoundedChannel(start.red, end.red, k, n), RoundedChannel(start.green, end.green, k, n),
               RoundedChannel(start.blue, end.blue, k, n)};
}

std::vector<ColourBand> GradientBands(Rgb start, Rgb end, int left, int right, int steps)
{
    std::vector<ColourBand> bands;
    if (right <= left) return bands;
    const int width = right - left;
    const int fewest = std::min(steps, width);
    if (start == end || fewest < 2) {
        bands.push_back(ColourBand{left, width, start});
        return bands;
    }
    const int n = fewest;
    const int band_width = width / n;
    bands.reserve(static_cast<std::size_t>(n) + 1);
    for (int k = 0; k < n; ++k)
        bands.push_back(ColourBand{left + k * band_width, band_width, BandColour(start, end, k, n)});
    if (const int rest = width % n; rest > 0) bands.push_back(ColourBand{left + n * band_width, rest, end});
    return bands;
}

int CaptionEndColourIndex(bool active, bool system_paints_gradients)
{
    if (system_paints_gradients)
        return active ? system_colour::GradientActiveCaption : system_colour::GradientInactiveCaption;
    return active ? system_colour::ActiveCaption : system_colour::InactiveCaption;
}

std::string ShortenCaptionText(std::string_view text, int available, const TextWidth& measure)
{
    if (measure(text) <= available) return std::string(text);
    const auto starts = CharacterStarts(text);
    const auto length = static_cast<std::ptrdiff_t>(starts.size()) - 1;
    if (length == 0) return std::string(text);
    const auto candidate = [&](std::ptrdiff_t kept) {
        return std::string(text.substr(0, starts[static_cast<std::size_t>(kept)])) + "...";
    };
    // The longest leading part of at most length - 2 characters that fits with "...".
    std::ptrdiff_t low = 0;            // a count not known to fit (0 is the fallback)
    std::ptrdiff_t high = length - 2;  // the longest count allowed
    if (high < 0) return "...";
    if (measure(candidate(0)) > available) return "...";
    while (low < high) {
        const std::ptrdiff_t middle = low + (high - low + 1) / 2;
        if (measure(candidate(middle)) <= available)
            low = middle;
        else
            high = middle - 1;
    }
    return candidate(low);
}

std::optional<CaptionPaint> PlanCaption(const GradientCaptionStyle& style, const CaptionWindow& window,
                                        std::string_view caption_text, const SystemColourLookup& lookup,
                                        const TextWidth& measure)
{
    auto area = ComputeCaptionArea(window.style, window.buttons, window.metrics, window.width);
    if (!area) return std::nullopt;

    CaptionPaint paint;
    paint.area = *area;
    const int w = area->rect.width;
    const int h = area->rect.height;

    const Rgb end = lookup(CaptionEndColourIndex(window.active, window.system_paints_gradients));
    const bool gradient = window.active ? style.gradient_active : style.gradient_inactive;
    if (gradient) {
        // Starting a quarter of the width left of the bar, the bar shows the gradient from one
        // fifth of its length onward.
        const Rgb start = ResolveToolkitColour(style.start_colour, lookup);
        paint.background = GradientBands(start, end, -(w / 4), w, style.gradient_steps);
    } else if (w > 0) {
        paint.background.push_back(ColourBand{0, w, end});
    }

    int text_left = 0;
    const bool framed_icon = window.style == FrameStyle::Single || window.style == FrameStyle::Sizeable;
    if (window.buttons.window_menu && framed_icon) {
        const int icon_w = window.metrics.small_icon_width;
        const int icon_h = window.metrics.small_icon_height;
        paint.icon = PixelRect{(h - icon_w) / 2 + 1, (h - icon_h) / 2, icon_w, icon_h};
        text_left = h;
    }
    paint.text_left = text_left + 2;
    paint.text_space = w - paint.text_left;
    paint.text = ShortenCaptionText(caption_text, paint.text_space, measure);
    paint.text_colour = ResolveToolkitColour(window.active ? style.font_colour : style.font_inactive_colour, lookup);
    return paint;
}

}  // namespace quillora
