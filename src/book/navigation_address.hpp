#pragma once

#include <string>
#include <string_view>

namespace quillora {

// Text work on the addresses that pass between the program and the browser engine.

// The engine hands link targets over percent-encoded: every character outside ASCII arrives as
// the %XX escapes of its UTF-8 bytes ("Olá" -> "Ol%C3%A1"). This undoes exactly that and nothing
// else, so the address reads as the author wrote it: escapes of ASCII characters ("%20", "%22",
// "%41") stay as they are, and escapes that do not form a valid UTF-8 character stay too.
std::string DecodeNonAsciiEscapes(std::string_view address);

// The URI scheme the address begins with, before its colon ("file", "http", "action"; "C" of
// "C:/"), as written; empty when it begins with none.
std::string_view UriSchemeOf(std::string_view address);

// True when the address begins with a URI scheme and its colon ("file:", "http:", "action:").
bool HasUriScheme(std::string_view address);

}  // namespace quillora
