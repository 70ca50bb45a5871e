#include "browsing/shortcut_decision.hpp"

#include <gtest/gtest.h>

namespace quillora {
namespace {

TEST(DecideShortcut, NavigationKeysFollowTheirButtonsAndTheOthersTheirModifiers)
{
    using Key = ShortcutKey;
    using Command = ShortcutCommand;
    constexpr ButtonState clickable{true, true};
    constexpr ButtonState disabled{true, false};
    constexpr ButtonState hidden{false, true};
    const auto all = [](ButtonState b) { return ShortcutState{b, b, b, b, b, false, false}; };
    ShortcutState loading = all(clickable);
    loading.loading = true;
    ShortcutState loading_stop_hidden = loading;
    loading_stop_hidden.stop = hidden;
    ShortcutState finding = loading;
    finding.find_open = true;
    struct Case {
        const char* what;
        ShortcutPress press;  // key, Ctrl, Shift, Alt
        ShortcutState state;
        Command expected;
    };
    const Case cases[] = {
        // Alt+arrows and Alt+Home -> their button's command only while it is shown and enabled
        {"Alt+Left", {Key::Left, false, false, true}, all(clickable), Command::Back},
        {"Alt+Right", {Key::Right, false, false, true}, all(clickable), Command::Forward},
        {"Alt+Home", {Key::Home, false, false, true}, all(clickable), Command::Home},
        {"Alt+Left, back disabled", {Key::Left, false, false, true}, all(disabled), Command::None},
        {"Alt+Right, forward hidden", {Key::Right, false, false, true}, all(hidden), Command::None},
        {"Ctrl+Alt+Left", {Key::Left, true, false, true}, all(clickable), Command::None},
        {"Left alone scrolls the page", {Key::Left, false, false, false}, all(clickable), Command::None},
        // F5 -> refresh, by its button
        {"F5", {Key::F5, false, false, false}, all(clickable), Command::Refresh},
        {"F5, refresh hidden", {Key::F5, false, false, false}, all(hidden), Command::None},
        // Escape -> close the find bar first, else stop a loading page, else left to the page
        {"Escape while loading", {Key::Escape, false, false, false}, loading, Command::Stop},
        {"Escape, nothing loading", {Key::Escape, false, false, false}, all(clickable), Command::None},
        {"Escape, stop hidden", {Key::Escape, false, false, false}, loading_stop_hidden, Command::None},
        {"Escape, find bar open", {Key::Escape, false, false, false}, finding, Command::CloseFind},
        // find: Ctrl+F, F3 and Shift+F3; Ctrl+Shift+F searches the whole book
        {"Ctrl+F", {Key::F, true, false, false}, all(hidden), Command::OpenFind},
        {"Ctrl+Shift+F", {Key::F, true, true, false}, all(hidden), Command::SearchBook},
        {"Ctrl+Alt+Shift+F", {Key::F, true, true, true}, all(hidden), Command::None},
        {"F alone", {Key::F, false, false, false}, all(clickable), Command::None},
        {"F3", {Key::F3, false, false, false}, all(hidden), Command::FindNext},
        {"Shift+F3", {Key::F3, false, true, false}, all(hidden), Command::FindPrevious},
        // zoom: Ctrl with plus (Shift allowed, as '+' needs it), minus and 0
        {"Ctrl+plus", {Key::Plus, true, false, false}, all(hidden), Command::ZoomIn},
        {"Ctrl+Shift+plus", {Key::Plus, true, true, false}, all(hidden), Command::ZoomIn},
        {"Ctrl+minus", {Key::Minus, true, false, false}, all(hidden), Command::ZoomOut},
        {"Ctrl+0", {Key::Zero, true, false, false}, all(hidden), Command::ZoomReset},
        {"Ctrl+Alt+0", {Key::Zero, true, false, true}, all(hidden), Command::None},
        {"0 alone", {Key::Zero, false, false, false}, all(hidden), Command::None},
        {"Ctrl+other", {Key::Other, true, false, false}, all(clickable), Command::None},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DecideShortcut(c.press, c.state), c.expected) << c.what;
    }
}

}  // namespace
}  // namespace quillora
