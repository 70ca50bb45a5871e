#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

#include "actions/action_host.hpp"
#include "browsing/input_decision.hpp"
#include "browsing/shortcut_decision.hpp"
#include "payload/setting_index.hpp"

namespace quillora {

// The ten tool-bar commands, one row each, in the order of ToolButton: the button's component
// name, the settings of its hint, of whether it shows and of whether hiding it blocks its
// shortcut, what it is announced as without a hint, its name in the action language, and the
// reader key that runs it. The window adds each command's click member (window/tool_buttons.hpp);
// everything else that names a tool-bar button goes through this table.
struct ToolCommand {
    ToolButton button;
    std::string_view component;      // "b_home"
    int hint_setting;                // the hint, also what assistive technologies announce
    std::string_view fallback_name;  // announced without a hint: what it does
    int visible_setting;             // whether it shows (it also hides with the whole tool bar)
    std::string_view separator;      // a separator that shows and hides with it, or empty
    int block_setting;               // whether, hidden, it blocks its shortcut; -1 for none
    bool InputBlocking::*blocked;    // the input filter's flag of that shortcut, or null
    std::string_view action_name;    // ENABLE/DISABLEBUTTONNAVIGATION's name; empty for back and
                                     // forward, whose state the history alone decides
    ShortcutCommand reader_key;      // None for a button without a reader key
};

inline constexpr std::size_t ToolCommandCount = 10;
// clang-format off: one row per command reads as the table it is.
inline constexpr std::array<ToolCommand, ToolCommandCount> ToolCommands = {{
    {ToolButton::Home, "b_home", setting::hint_home, "Home page", setting::home_button_visible, "sep1", -1, nullptr,
     "BUTTON_HOME", ShortcutCommand::Home},
    {ToolButton::Back, "b_volta", setting::hint_back, "Back", setting::back_button_visible, "", -1, nullptr, "",
     ShortcutCommand::Back},
    {ToolButton::Forward, "b_proximo", setting::hint_forward, "Forward", setting::forward_button_visible, "", -1,
     nullptr, "", ShortcutCommand::Forward},
    {ToolButton::Refresh, "b_refresh", setting::hint_refresh, "Refresh", setting::refresh_button_visible, "", -1,
     nullptr, "BUTTON_REFRESH", ShortcutCommand::Refresh},
    {ToolButton::Stop, "b_stop", setting::hint_stop, "Stop", setting::stop_button_visible, "", -1, nullptr,
     "BUTTON_STOP", ShortcutCommand::Stop},
    {ToolButton::SelectAll, "bot_selectall", setting::hint_select_all, "Select all", setting::select_all_button_visible,
     "", setting::block_ctrl_a, &InputBlocking::block_ctrl_a, "BUTTON_SELECTALL", ShortcutCommand::None},
    {ToolButton::Copy, "botao_copiar", setting::hint_copy, "Copy", setting::copy_button_visible, "",
     setting::block_ctrl_c, &InputBlocking::block_ctrl_c, "BUTTON_COPY", ShortcutCommand::None},
    {ToolButton::Print, "bt_imprimir", setting::hint_print, "Print", setting::print_button_visible, "",
     setting::block_ctrl_p, &InputBlocking::block_ctrl_p, "BUTTON_PRINT", ShortcutCommand::None},
    {ToolButton::Exit, "bt_sair", setting::hint_exit, "Exit", setting::exit_button_visible, "", -1, nullptr,
     "BUTTON_EXIT", ShortcutCommand::None},
    {ToolButton::About, "b_about", setting::hint_about, "About", setting::about_button_visible, "sep2", -1, nullptr,
     "BUTTON_ABOUT", ShortcutCommand::None},
}};
// clang-format on

// Each row stands at its button's place, so that ToolCommandOf is an index.
static_assert([] {
    for (std::size_t n = 0; n < ToolCommands.size(); ++n) {
        if (static_cast<std::size_t>(ToolCommands[n].button) != n) return false;
    }
    return true;
}());

[[nodiscard]] const ToolCommand& ToolCommandOf(ToolButton button);
// The command whose button a reader key clicks, none for a key of no button.
[[nodiscard]] const ToolCommand* ToolCommandOfKey(ShortcutCommand key);
// The button of that action-language name, compared with letter case.
[[nodiscard]] std::optional<ToolButton> FindButtonName(std::string_view name);

// The order in which the settings show and hide the buttons that block no shortcut: a malformed
// flag stops there and keeps what was applied before it. Those that block one follow later, in
// the order of ToolButton.
inline constexpr std::array<ToolButton, 7> VisibilityOrder = {ToolButton::About,  ToolButton::Home, ToolButton::Refresh,
                                                              ToolButton::Stop,   ToolButton::Exit, ToolButton::Back,
                                                              ToolButton::Forward};

}  // namespace quillora
