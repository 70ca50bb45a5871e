#pragma once

#include <libxml/tree.h>

#include <memory>
#include <string_view>

namespace quillora {

struct HtmlDocumentFreer {
    void operator()(xmlDoc* document) const { xmlFreeDoc(document); }
};
using HtmlDocument = std::unique_ptr<xmlDoc, HtmlDocumentFreer>;

// Parses a page's bytes the way the runtime's engine reads a page of the book, so that what
// is searched and checked is what the reader is shown:
// - a byte-order mark decides the encoding; else the charset the page declares (a meta element
//   or an XML declaration); else, as for an unknown charset, Windows-1252: the engine's default
//   for a local page, even when the bytes happen to be valid UTF-8. Latin-1 and ASCII are read
//   as Windows-1252 too, whose letters fill the C1 range.
// - broken markup is read as far as it goes; nothing is ever fetched;
// - line numbers pass 65535.
// An empty page gives a document with no root element; only a failure to allocate gives none.
HtmlDocument ParseHtmlPage(std::string_view bytes);

}  // namespace quillora
