#pragma once

#include <gtk/gtk.h>

#include "browsing/input_decision.hpp"

namespace quillora {

// `EventosAplicacao`: sees every event of the program before GTK dispatches it, and swallows the
// right clicks and shortcuts the e-book blocks. Events of modal dialogs pass untouched, as they
// belong to the dialog's own loop. Only one filter can be installed at a time; it is removed when
// this goes away.
class InputFilter {
public:
    // `page` is the browser's widget; `blocking` is read at every event, so it may change later.
    InputFilter(GtkWidget* page, const InputBlocking& blocking);
    ~InputFilter();
    InputFilter(const InputFilter&) = delete;
    InputFilter& operator=(const InputFilter&) = delete;

    // The decision for one event, as the installed filter makes it.
    [[nodiscard]] bool Swallows(GdkEvent* event) const;

private:
    static void EventosAplicacaoMessage(GdkEvent* event, gpointer self);

    GtkWidget* page_;
    const InputBlocking& blocking_;
};

}  // namespace quillora
