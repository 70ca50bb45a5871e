#include "window/message_boxes.hpp"

#include <gtkmm/messagedialog.h>
#include <gtkmm/window.h>

namespace quillora {

namespace {

void ShowModal(Gtk::Window* owner, const std::string& caption, const std::string& text,
               Gtk::MessageType type)
{
    Gtk::MessageDialog dialog(text, /*use_markup=*/false, type, Gtk::BUTTONS_OK, /*modal=*/true);
    dialog.set_title(caption);
    if (owner != nullptr) {
        dialog.set_transient_for(*owner);
    }
    // Without a visible owner the dialog would open wherever the window manager likes.
    dialog.set_position(owner != nullptr && owner->get_visible() ? Gtk::WIN_POS_CENTER_ON_PARENT
                                                                 : Gtk::WIN_POS_CENTER);
    dialog.run();
}

}  // namespace

void ShowWarningBox(Gtk::Window* owner, const std::string& caption, const std::string& text)
{
    ShowModal(owner, caption, text, Gtk::MESSAGE_WARNING);
}

void ShowErrorReport(Gtk::Window* owner, const std::string& title, const std::string& text)
{
    ShowModal(owner, title, text, Gtk::MESSAGE_ERROR);
}

}  // namespace quillora
