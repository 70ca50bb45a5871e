#pragma once

#include <string>

#include "browsing/document_styling.hpp"
#include "browsing/input_decision.hpp"

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
    PageStyling styling;
    InputBlocking blocking;
};

}  // namespace quillora
