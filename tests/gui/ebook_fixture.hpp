#pragma once

// E-books for the window tests: a stand-in runtime file with a payload appended, its pages in
// a folder beside it, and the settings of a plain, valid e-book to start from.

#include <string>
#include <vector>

#include "gui_test_support.hpp"
#include "payload/payload_writer.hpp"
#include "payload/setting_index.hpp"

namespace quillora::test {

inline std::vector<std::string> PlainSettings()
{
    using namespace setting;
    std::vector<std::string> s(SettingCount);
    s[title] = "Atlas";
    s[gradient_caption_on] = "0";
    s[gradient_start_color] = "clNavy";
    s[start_maximized] = "0";
    s[border_style] = "2";
    s[window_width] = "640";
    s[window_height] = "480";
    s[minimize_button] = s[maximize_button] = s[system_menu] = "-1";
    s[home_page] = "C:\\Books\\Atlas\\pages\\index.html";
    s[toolbar_visible] = s[about_button_visible] = s[status_bar_visible] = "-1";
    s[animation_on] = s[animation_kind] = s[scrollbar_colors_on] = s[page_border_on] = "0";
    s[print_with_dialog] = s[block_right_click] = s[custom_menu_on] = "0";
    s[msg_home_page_missing] = "The home page is missing.";
    s[home_button_alt_on] = "0";
    for (int i = home_button_visible; i <= forward_button_visible; ++i) s[static_cast<std::size_t>(i)] = "True";
    s[block_ctrl_a] = s[block_ctrl_c] = s[block_ctrl_p] = "0";
    s[about_app_name_size] = "22";
    s[internet_required] = "0";
    s[msg_internet_required] = "No connection.";
    s[skin_on] = "0";
    s[skin_index] = "0";
    const char* hints[] = {"Home",       "Back", "Forward", "Refresh", "Stop",
                           "Select all", "Copy", "Print",   "Exit",    "About"};
    for (int i = 0; i < 10; ++i) s[static_cast<std::size_t>(hint_home) + static_cast<std::size_t>(i)] = hints[i];
    return s;
}

// An e-book in a private folder: "book" (the runtime stand-in with the payload) and pages/,
// in a folder of the given name inside it when one is given.
class EBookFixture {
public:
    explicit EBookFixture(const std::vector<std::string>& settings, const std::string& book_folder = "")
        : prefix_(book_folder.empty() ? "" : book_folder + "/")
    {
        std::string text;
        for (const auto& line : settings) text += line + "\r\n";
        folder_.Write(prefix_ + "book", AppendPayload("#!not really a runtime\n", text));
        std::filesystem::create_directory(folder_.Path() / (prefix_ + "pages"));
    }

    std::string ProgramPath() const { return folder_.File(prefix_ + "book"); }
    std::string WritePage(const std::string& name, const std::string& html) const
    {
        return folder_.Write(prefix_ + "pages/" + name, html);
    }

private:
    TempDir folder_;
    std::string prefix_;
};

}  // namespace quillora::test
