#include "setting_defaults.hpp"

#include "payload/setting_index.hpp"

namespace quillora::pack {
namespace {

// Defaults that give a plain, complete e-book: a sizeable 800 x 600 window with every button
// and the status bar, English hints and messages, no effects, nothing blocked.
std::string_view FixedDefault(int index)
{
    switch (index) {
    case setting::title: return "Untitled e-book";
    case setting::gradient_start_color: return "clNavy";
    case setting::start_maximized: return "0";
    case setting::border_style: return "2";
    case setting::window_width: return "800";
    case setting::window_height: return "600";
    case setting::home_page: return "pages/index.html";
    case setting::animation_kind: return "1";
    case setting::scrollbar_face_color: return "#D4D0C8";
    case setting::scrollbar_highlight_color: return "#FFFFFF";
    case setting::scrollbar_3dlight_color: return "#F0F0F0";
    case setting::scrollbar_dark_shadow_color: return "#404040";
    case setting::scrollbar_shadow_color: return "#808080";
    case setting::scrollbar_arrow_color: return "#000000";
    case setting::scrollbar_track_color: return "#E8E8E8";
    case setting::page_border_style: return "solid";
    case setting::page_border_color: return "#C0C0C0";
    case setting::hint_home: return "Home";
    case setting::hint_back: return "Back";
    case setting::hint_forward: return "Forward";
    case setting::hint_refresh: return "Refresh";
    case setting::hint_stop: return "Stop";
    case setting::hint_select_all: return "Select all";
    case setting::hint_copy: return "Copy";
    case setting::hint_print: return "Print";
    case setting::hint_exit: return "Exit";
    case setting::hint_about: return "About";
    case setting::msg_home_page_missing:
        return "The first page of this e-book cannot be found. Keep the e-book's page folder "
               "beside the program.";
    case setting::about_app_name_size: return "22";
    case setting::msg_internet_required:
        return "This e-book needs an internet connection. Please connect and open it again.";
    case setting::skin_index: return "0";

    // Switches that are on: the frame buttons, the bars, every tool-bar button, the print dialog.
    case setting::minimize_button:
    case setting::maximize_button:
    case setting::system_menu:
    case setting::toolbar_visible:
    case setting::about_button_visible:
    case setting::status_bar_visible:
    case setting::print_with_dialog:
    case setting::home_button_visible:
    case setting::refresh_button_visible:
    case setting::stop_button_visible:
    case setting::select_all_button_visible:
    case setting::copy_button_visible:
    case setting::print_button_visible:
    case setting::exit_button_visible:
    case setting::back_button_visible:
    case setting::forward_button_visible: return "-1";

    // Switches that are off.
    case setting::gradient_caption_on:
    case setting::animation_on:
    case setting::scrollbar_colors_on:
    case setting::page_border_on:
    case setting::block_right_click:
    case setting::home_button_alt_on:
    case setting::block_ctrl_a:
    case setting::block_ctrl_c:
    case setting::block_ctrl_p:
    case setting::internet_required:
    case setting::skin_on: return "0";

    default: return "";  // texts left empty, the unused lines among them
    }
}

}  // namespace

std::string DefaultValue(int index, const DefaultContext& context)
{
    switch (index) {
    case setting::about_title: return "About " + context.title;
    case setting::about_app_name: return context.title;
    case setting::custom_menu_on: return context.has_menu ? "-1" : "0";
    default: return std::string(FixedDefault(index));
    }
}

}  // namespace quillora::pack
