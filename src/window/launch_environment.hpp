#pragma once

#include <gdk/gdk.h>

#include <string>
#include <vector>

#include "common/gobject_ptr.hpp"

namespace quillora {

// What a program the book starts (an address in the desktop's browser, a file in its program, a
// program with parameters) gets as its environment: the runtime's own, less the variables it set
// for its engine alone, so that a browser started from a book draws as it would anyway.

// For starting through the desktop: a launch context of `display` (nullptr: a plain one).
GObjectPtr<GAppLaunchContext> LaunchContextForBookPrograms(GdkDisplay* display);

// For starting a program directly ("NAME=VALUE" strings).
std::vector<std::string> EnvironmentForBookPrograms();

}  // namespace quillora
