#pragma once

#include <string>
#include <string_view>

namespace quillora {

// The application id of the e-book whose file is named `book_file_name`: the name its window
// carries (the Wayland app id, the X11 WM_CLASS) and the stem of its launcher, so that docks,
// task switchers and overviews find the launcher's name and icon for the window.
//
// Desktop files and app ids take dot-separated elements of ASCII letters, digits, '_' and '-',
// no element starting with a digit, at most 255 characters. The book's name is kept where it
// already is one; otherwise each run of other characters (a space, a non-ASCII letter) becomes
// one '_', empty elements are dropped, an element starting with a digit gets a '_' before it,
// and the id is cut to length. A name with nothing usable in it is "quillora-book".
std::string BookAppId(std::string_view book_file_name);

}  // namespace quillora
