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

// Reads an HTML page as the runtime's engine shows it (see ParseHtmlPage), saying
// nothing of a byte its encoding lacks.
PageText ExtractPageText(std::string_view html);

}  // namespace quillora
