#pragma once

#include <string>

#include "appearance/frame.hpp"

namespace quillora {

// The GTK decoration layout of a title bar of our own (":minimize,maximize,close") for the frame
// buttons a frame shows; ":" alone when it shows none.
std::string DecorationLayoutFor(FrameStyle style, FrameButtons buttons);

}  // namespace quillora
