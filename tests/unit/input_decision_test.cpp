#include "browsing/input_decision.hpp"

#include <gtest/gtest.h>

namespace quillora {
namespace {

TEST(SwallowInput, RightClicksOnThePageAndCtrlShortcutsByTheirFlags)
{
    using Kind = InputEvent::Kind;
    const InputBlocking all{true, true, true, true};
    const InputBlocking none{};
    const InputBlocking only_c{false, false, true, false};
    struct Case {
        const char* what;
        InputEvent event;
        InputBlocking blocking;
        bool swallowed;
    };
    const Case cases[] = {
        // right button on the page: press and double-click swallowed, release passes
        {"right press on page", {Kind::Press, 3, false, 0, true}, all, true},
        {"right double-click on page", {Kind::MultiPress, 3, false, 0, true}, all, true},
        {"right release on page", {Kind::Release, 3, false, 0, true}, all, false},
        {"right press, flag off", {Kind::Press, 3, false, 0, true}, none, false},
        // outside the page (tool bar, status bar, menu) and other buttons pass
        {"right press on tool bar", {Kind::Press, 3, false, 0, false}, all, false},
        {"left press on page", {Kind::Press, 1, false, 0, true}, all, false},
        {"middle press on page", {Kind::Press, 2, false, 0, true}, all, false},
        // Ctrl shortcuts, wherever the focus is; each by its own flag
        {"Ctrl+P", {Kind::KeyDown, 0, true, 'P', false}, all, true},
        {"Ctrl+A in page", {Kind::KeyDown, 0, true, 'A', true}, all, true},
        {"Ctrl+C, only C blocked", {Kind::KeyDown, 0, true, 'C', false}, only_c, true},
        {"Ctrl+A, only C blocked", {Kind::KeyDown, 0, true, 'A', false}, only_c, false},
        {"Ctrl+P, only C blocked", {Kind::KeyDown, 0, true, 'P', false}, only_c, false},
        // key-ups pass, letters without Ctrl pass, other letters pass
        {"Ctrl+C release", {Kind::KeyUp, 0, true, 'C', false}, all, false},
        {"C without Ctrl", {Kind::KeyDown, 0, false, 'C', false}, all, false},
        {"Ctrl+V", {Kind::KeyDown, 0, true, 'V', false}, all, false},
        // anything else never
        {"other event", {Kind::Other, 3, true, 'P', true}, all, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SwallowInput(c.event, c.blocking), c.swallowed) << c.what;
    }
}

}  // namespace
}  // namespace quillora
