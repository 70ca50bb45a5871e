#include "browsing/input_decision.hpp"

namespace quillora {

bool SwallowInput(const InputEvent& event, const InputBlocking& blocking)
{
    using Kind = InputEvent::Kind;
    constexpr unsigned RightButton = 3;
    if ((event.kind == Kind::Press || event.kind == Kind::MultiPress) && event.button == RightButton &&
        event.inside_page) {
        return blocking.block_right_click;
    }
    if (event.kind == Kind::KeyDown && event.control) {
        switch (event.key_upper) {
        case 'P': return blocking.block_ctrl_p;
        case 'C': return blocking.block_ctrl_c;
        case 'A': return blocking.block_ctrl_a;
        default: break;
        }
    }
    return false;
}

}  // namespace quillora
