#pragma once

#include <gtk/gtk.h>

#include <string>

#include "appearance/about_texts.hpp"

namespace quillora {

// `Sobre`: the about box. It keeps its fields for as long as the window lives; each showing
// builds the dialog anew from its description, fills it from the fields and runs it modally
// over the window, so that nothing of one showing (a link found unusable, a size) outlasts it.
class AboutBox {
public:
    explicit AboutBox(GtkWindow* parent) : parent_(parent) {}
    AboutBox(const AboutBox&) = delete;
    AboutBox& operator=(const AboutBox&) = delete;

    AboutFields& Fields() { return fields_; }
    const AboutFields& Fields() const { return fields_; }

    // Shows the box over the window and returns when it is closed (OK, Enter or Escape).
    // `application_title` stands in for an empty caption and an empty name.
    void ShowModal(const std::string& application_title);

    // The dialog while ShowModal runs, else null (for tests and the pictures of the docs).
    GtkDialog* Showing() const { return showing_; }

private:
    GtkWindow* parent_;
    AboutFields fields_;
    GtkDialog* showing_ = nullptr;
};

}  // namespace quillora
