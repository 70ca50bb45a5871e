#pragma once

#include <libxml/tree.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace quillora {

struct HtmlDocumentFreer {
    void operator()(xmlDoc* document) const { xmlFreeDoc(document); }
};
using HtmlDocument = std::unique_ptr<xmlDoc, HtmlDocumentFreer>;

// The first byte of a page that is no character of the encoding it is read in. The engine shows
// a stand-in and reads on; the author most likely saved the page in another encoding.
struct UndecodableByte {
    int line = 0;
    unsigned char value = 0;
    std::string encoding;
    bool encoding_is_default = false;  // the page names no encoding that the engine knows
};

struct ParsedHtmlPage {
    HtmlDocument document;  // none only when memory ran out
    std::optional<UndecodableByte> first_undecodable;
};

// Parses a page's bytes the way the runtime's engine reads a page of the book, so that what
// is searched and checked is what the reader is shown:
// - in the encoding DecodePage picks, reading past bytes that encoding lacks;
// - broken markup is read as far as it goes; nothing is ever fetched; the parser says nothing,
//   on stderr or elsewhere;
// - what follows </html> belongs to the body, where the engine shows it;
// - line numbers pass 65535.
// An empty page gives a document with no root element.
ParsedHtmlPage ParseHtmlPage(std::string_view bytes);

}  // namespace quillora
