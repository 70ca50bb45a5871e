#pragma once

#include <gtk/gtk.h>

#include <string>

#include "common/error.hpp"

namespace quillora {

// The object `name` of a description that the program carries; `description` names the
// description in the message when it lacks the object ("The window description").
inline GObject* RequirePart(GtkBuilder* builder, const char* name, const char* description)
{
    GObject* object = gtk_builder_get_object(builder, name);
    if (object == nullptr) {
        throw Error(std::string(description) + " has no component " + name);
    }
    return object;
}

}  // namespace quillora
