#include "webview/input_filter.hpp"

#include "common/event_boundary.hpp"

namespace quillora {

namespace {

InputEvent::Kind KindOf(GdkEventType type)
{
    using Kind = InputEvent::Kind;
    switch (type) {
    case GDK_BUTTON_PRESS: return Kind::Press;
    case GDK_2BUTTON_PRESS:
    case GDK_3BUTTON_PRESS: return Kind::MultiPress;
    case GDK_BUTTON_RELEASE: return Kind::Release;
    case GDK_KEY_PRESS: return Kind::KeyDown;
    case GDK_KEY_RELEASE: return Kind::KeyUp;
    default: return Kind::Other;
    }
}

// What GTK does with every event when no filter is installed.
void DispatchUnfiltered(GdkEvent* event, gpointer)
{
    gtk_main_do_event(event);
}

bool InModalDialog(GtkWidget* target)
{
    GtkWidget* top = gtk_widget_get_toplevel(target);
    return GTK_IS_WINDOW(top) && gtk_window_get_modal(GTK_WINDOW(top));
}

}  // namespace

InputFilter::InputFilter(GtkWidget* page, const InputBlocking& blocking) : page_(page), blocking_(blocking)
{
    gdk_event_handler_set(&EventosAplicacaoMessage, this, nullptr);
}

InputFilter::~InputFilter()
{
    gdk_event_handler_set(&DispatchUnfiltered, nullptr, nullptr);
}

bool InputFilter::Swallows(GdkEvent* event) const
{
    InputEvent input;
    input.kind = KindOf(event->type);
    if (input.kind == InputEvent::Kind::Other) {
        return false;
    }
    GtkWidget* target = gtk_get_event_widget(event);
    if (target == nullptr || InModalDialog(target)) {
        return false;
    }
    if (input.kind == InputEvent::Kind::KeyDown || input.kind == InputEvent::Kind::KeyUp) {
        const guint upper = gdk_keyval_to_upper(event->key.keyval);
        input.key_upper = upper < 0x80 ? upper : 0;
        input.control = (event->key.state & GDK_CONTROL_MASK) != 0;
    } else {
        input.button = event->button.button;
        input.inside_page = target == page_ || gtk_widget_is_ancestor(target, page_);
    }
    return SwallowInput(input, blocking_);
}

void InputFilter::EventosAplicacaoMessage(GdkEvent* event, gpointer self)
{
    bool swallow = false;
    AtEventBoundary([&] { swallow = static_cast<InputFilter*>(self)->Swallows(event); });
    if (!swallow) {
        gtk_main_do_event(event);
    }
}

}  // namespace quillora
