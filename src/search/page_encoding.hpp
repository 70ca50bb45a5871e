#pragma once

#include <string>
#include <string_view>

#include "payload/text_encoding.hpp"

namespace quillora {

// A page's bytes as the text the runtime's engine shows, in UTF-8:
// - a byte-order mark decides the encoding; else the charset the page declares (a meta element
//   or an XML declaration); else, as for an unknown charset, Windows-1252: the engine's default
//   for a local page, even when the bytes happen to be valid UTF-8. Latin-1 and ASCII are read
//   as Windows-1252 too, whose letters fill the C1 range.
// - a byte that is no character of that encoding does not end the page: it stands for a
//   character of its own (see DecodeToUtf8), and the first is kept for the author.
struct DecodedPage {
    DecodedText decoded;              // without the byte-order mark
    std::string encoding;             // what the page was read as
    bool encoding_is_default = true;  // no mark, and no charset that the engine knows
};
DecodedPage DecodePage(std::string_view bytes);

}  // namespace quillora
