#include "actions/tool_commands.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <utility>

#include "payload/setting_index.hpp"

namespace quillora {
namespace {

// The ids of the window description's objects of `klass`.
std::set<std::string> IdsOf(const std::string& description, const std::string& klass)
{
    std::set<std::string> ids;
    const std::string marker = "<object class=\"" + klass + "\" id=\"";
    for (std::size_t at = description.find(marker); at != std::string::npos; at = description.find(marker, at + 1)) {
        const std::size_t start = at + marker.size();
        ids.insert(description.substr(start, description.find('"', start) - start));
    }
    return ids;
}

TEST(ToolCommands, EveryRowNamesARealButtonItsOwnSettingsAndANameOnlyWhereTheActionLanguageHasOne)
{
    std::ifstream file(std::string(QUILLORA_SOURCE_DIR) + "/src/resources/window.ui");
    std::stringstream text;
    text << file.rdbuf();
    const std::set<std::string> buttons = IdsOf(text.str(), "GtkToolButton");
    const std::set<std::string> separators = IdsOf(text.str(), "GtkSeparatorToolItem");
    ASSERT_EQ(buttons.size(), ToolCommandCount);

    std::set<int> hints;
    std::set<int> shown;
    for (const ToolCommand& command : ToolCommands) {
        const std::string name(command.component);
        EXPECT_TRUE(buttons.contains(name)) << name;
        EXPECT_TRUE(command.separator.empty() || separators.contains(std::string(command.separator))) << name;
        EXPECT_TRUE(hints.insert(command.hint_setting).second) << name << ": a hint of its own";
        EXPECT_TRUE(shown.insert(command.visible_setting).second) << name;
        EXPECT_EQ(command.block_setting >= 0, command.blocked != nullptr) << name;
        EXPECT_EQ(ToolCommandOfKey(command.reader_key) == &command, command.reader_key != ShortcutCommand::None)
            << name;
        if (!command.action_name.empty()) {
            EXPECT_EQ(FindButtonName(command.action_name), command.button) << name;
        }
    }
    // Back and forward follow the history alone: the action language cannot name them.
    for (const ToolButton button : {ToolButton::Back, ToolButton::Forward}) {
        EXPECT_TRUE(ToolCommandOf(button).action_name.empty());
    }
    // Names compare with letter case; an unknown name is none.
    EXPECT_EQ(FindButtonName("BUTTON_HOME"), ToolButton::Home);
    EXPECT_EQ(FindButtonName("button_home"), std::nullopt);
    EXPECT_EQ(FindButtonName(""), std::nullopt);
    // Every button is shown or hidden once: in the visibility order, or later with its shortcut.
    for (const ToolCommand& command : ToolCommands) {
        const bool ordered =
            std::find(VisibilityOrder.begin(), VisibilityOrder.end(), command.button) != VisibilityOrder.end();
        EXPECT_NE(ordered, command.blocked != nullptr) << command.component;
    }
    // The three that block a shortcut each block their own.
    const std::pair<ToolButton, bool InputBlocking::*> blocking[] = {
        {ToolButton::SelectAll, &InputBlocking::block_ctrl_a},
        {ToolButton::Copy, &InputBlocking::block_ctrl_c},
        {ToolButton::Print, &InputBlocking::block_ctrl_p},
    };
    for (const auto& [button, flag] : blocking) {
        EXPECT_EQ(ToolCommandOf(button).blocked, flag) << ToolCommandOf(button).component;
    }
}

}  // namespace
}  // namespace quillora
