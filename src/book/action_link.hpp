#pragma once

#include <string>
#include <string_view>

namespace quillora {

// Addresses that run a command of the action language instead of loading a page.

// The marker is found anywhere in the address, without regard to the case of a..z.
bool IsActionAddress(std::string_view address);

// The action string an action address carries: the address without its first seven characters
// (the marker is assumed to begin it; characters, never half of one), then every "%20" turned
// into a blank, then every other "%" into a double quote.
std::string ActionStringOf(std::string_view address);

// The address the refresh button reloads: every navigation and every finished document that is
// not an action link replaces it.
void RecordPageAddress(std::string& last_page_address, const std::string& address);

// Whether a document may run actions: only the e-book's own pages, which lie in the executable's
// folder (`book_folder`, ending in "/") or below it. `document_path` is a local path; an empty one
// (no document, or one that is no local file) may not.
bool IsBookDocument(const std::string& document_path, const std::string& book_folder);

// Schemes the engine shows itself; links to any other (mailto:, tel:, ...) go to the desktop.
bool EngineShowsScheme(std::string_view address);

}  // namespace quillora
