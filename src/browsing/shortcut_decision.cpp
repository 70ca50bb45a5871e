#include "browsing/shortcut_decision.hpp"

namespace quillora {

namespace {

using Key = ShortcutKey;
using Command = ShortcutCommand;

Command IfClickable(const ButtonState& button, Command command)
{
    return button.Clickable() ? command : Command::None;
}

Command WithAlt(Key key, const ShortcutState& state)
{
    switch (key) {
    case Key::Left: return IfClickable(state.back, Command::Back);
    case Key::Right: return IfClickable(state.forward, Command::Forward);
    case Key::Home: return IfClickable(state.home, Command::Home);
    default: return Command::None;
    }
}

Command WithControl(Key key)
{
    switch (key) {
    case Key::F: return Command::OpenFind;
    case Key::Plus: return Command::ZoomIn;
    case Key::Minus: return Command::ZoomOut;
    case Key::Zero: return Command::ZoomReset;
    default: return Command::None;
    }
}

Command Plain(const ShortcutPress& press, const ShortcutState& state)
{
    switch (press.key) {
    case Key::F3: return press.shift ? Command::FindPrevious : Command::FindNext;
    case Key::F5: return press.shift ? Command::None : IfClickable(state.refresh, Command::Refresh);
    case Key::Escape:
        if (press.shift) return Command::None;
        if (state.find_open) return Command::CloseFind;
        return state.loading ? IfClickable(state.stop, Command::Stop) : Command::None;
    default: return Command::None;
    }
}

}  // namespace

ButtonState* ButtonOf(ShortcutState& state, ShortcutCommand command)
{
    switch (command) {
    case Command::Home: return &state.home;
    case Command::Back: return &state.back;
    case Command::Forward: return &state.forward;
    case Command::Refresh: return &state.refresh;
    case Command::Stop: return &state.stop;
    default: return nullptr;
    }
}

ShortcutCommand DecideShortcut(const ShortcutPress& press, const ShortcutState& state)
{
    if (press.alt && !press.control && !press.shift) {
        return WithAlt(press.key, state);
    }
    // Ctrl+Shift+F searches the whole book, so Shift is looked at; Ctrl+Shift+plus is the
    // plus of many keyboards, where '+' needs Shift.
    if (press.control && press.shift && !press.alt && press.key == Key::F) {
        return Command::SearchBook;
    }
    if (press.control && !press.alt && (!press.shift || press.key == Key::Plus)) {
        return WithControl(press.key);
    }
    if (!press.control && !press.alt) {
        return Plain(press, state);
    }
    return Command::None;
}

}  // namespace quillora
