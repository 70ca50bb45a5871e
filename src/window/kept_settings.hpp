#pragma once

#include <array>
#include <string>

namespace quillora {

// The values the window keeps from the settings for later use; all start false or empty.
struct KeptSettings {
    std::string home_page;
    std::string startup_action;
    std::string menu_file_stem;
    bool internet_required = false;
    std::string msg_internet_required;
    std::string msg_home_page_missing;

    std::string about_title, about_app_name, about_version, about_description;
    std::string about_web_address, about_email, about_copyright, about_app_name_size;

    std::string home_button_alt_on;  // kept as text: converted when the home button is pressed
    std::string home_button_alt_page;

    bool print_with_dialog = false;
    bool scrollbar_colors_on = false;
    bool page_border_on = false;
    // face, highlight, 3-D light, dark shadow, shadow, arrow, track
    std::array<std::string, 7> scrollbar_colors;
    std::string page_border_style;
    std::string page_border_color;

    bool block_right_click = false;
    bool block_ctrl_a = false;
    bool block_ctrl_c = false;
    bool block_ctrl_p = false;
};

}  // namespace quillora
