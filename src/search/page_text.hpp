#pragma once

#include <string>
#include <string_view>

namespace quillora {

// What a reader sees of a page, as UTF-8: its title and the text of its body, without markup,
// scripts or styles, with entities decoded and runs of white space made one blank.
struct PageText {
    std::string title;
    std::string body;
};

// Reads an HTML page as a browser would: in the encoding the page declares (a byte-order mark
// or a meta charset); without one, as UTF-8 when the bytes are valid UTF-8 and as Windows-1252
// otherwise. Latin-1 and ASCII declarations are read as Windows-1252 too, as browsers do.
// Broken markup is read as far as it goes; nothing is ever fetched.
PageText ExtractPageText(std::string_view html);

}  // namespace quillora
