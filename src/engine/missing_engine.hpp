#pragma once

#include <string>
#include <string_view>

namespace quillora {

// The engine's libraries, in the order they are loaded: JavaScriptCore first, so that when it is
// missing the reader is told its own name rather than that of the library that needs it.
inline constexpr const char* EngineLibraries[] = {"libjavascriptcoregtk-4.1.so.0", "libwebkit2gtk-4.1.so.0"};

// What a reader whose system cannot load the engine is told; `reason` is the loader's own text
// (which library, or which function an older one lacks). All the texts are here.

// The one line for standard error, without its line end.
[[nodiscard]] std::string MissingEngineLine(std::string_view program_name, std::string_view reason);

// The text of the window that says the same.
[[nodiscard]] std::string MissingEngineMessage(std::string_view reason);

// The window's caption: the book's title from the payload of the program at `program_path`, as
// the book's own windows carry it; "Quillora" when there is none or it cannot be read.
[[nodiscard]] std::string MissingEngineCaption(const std::string& program_path);

}  // namespace quillora
