#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "actions/action_host.hpp"

namespace quillora {

// What the action language hands to the desktop, made safe before the host sees it.

// The longest file name or parameter text handed to the desktop, in characters.
inline constexpr std::size_t MaxShellTextLength = 1024;

// Opens the file (a "\" in its name read as "/") with the parameter text through the host. A file
// name or parameter text longer than MaxShellTextLength characters is refused with an error that
// names `command` and the length; it is never cut, since a cut name opens some other file.
void ShellOpenFile(ActionHost& host, std::string_view command, std::string_view file_name, std::string_view parameters);

// What the reader is told when a file cannot be opened or run: the file as the book named it
// and the desktop's reason, such as NoSuchFileText.
std::string OpenFileFailureText(std::string_view file_name, std::string_view reason);
inline constexpr const char* NoSuchFileText = "there is no such file";

// The web address that WEBLINK opens: "http://" in front unless the address already starts with
// "http://" or "https://" (any letter case), so the result always is an http or https address.
// Empty for an empty address, which opens nothing.
std::string WebAddressOf(std::string_view address);
void OpenWebAddress(ActionHost& host, std::string_view address);

// "mailto:" and the address, without the query parameters "attach" and "attachment" (any letter
// case, percent-encoded or not), which would let a page mail the reader's files.
std::string MailAddressOf(std::string_view address);

}  // namespace quillora
