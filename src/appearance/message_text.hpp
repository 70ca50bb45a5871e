#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quillora {

// The longest stretch without a line end that a message box lays out as one paragraph. Laying
// out a paragraph costs more than linear time in its length, and a box shows only part of a
// long text at once: short paragraphs let it lay out what shows first.
inline constexpr std::size_t MaxMessageParagraph = 1024;

// The text as a message box lays it out: every stretch longer than `max_paragraph` bytes
// without a line end is cut into paragraphs where wrapping could break the line anyway: at the
// last blank within the limit, which becomes the line end, or else between two UTF-8 characters,
// where a line end is inserted. Texts without such stretches come back unchanged.
std::string WithParagraphBreaks(std::string_view text, std::size_t max_paragraph = MaxMessageParagraph);

}  // namespace quillora
