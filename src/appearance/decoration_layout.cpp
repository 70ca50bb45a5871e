#include "appearance/decoration_layout.hpp"

#include "appearance/caption_geometry.hpp"

namespace quillora {

std::string DecorationLayoutFor(FrameStyle style, FrameButtons buttons)
{
    const FrameButtons shown = CaptionButtons(style, buttons);
    std::string layout = ":";
    const auto add = [&layout](const char* button) {
        if (layout.size() > 1) layout += ',';
        layout += button;
    };
    if (shown.minimize) add("minimize");
    if (shown.maximize) add("maximize");
    if (shown.window_menu) add("close");
    return layout;
}

}  // namespace quillora
