#pragma once

// Helpers for the GUI tests: wait for events by running the main loop, make pages in a private
// folder, read results from the engine.

#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "common/gobject_ptr.hpp"
#include "common/main_loop_source.hpp"
#include "common/signal_connection.hpp"
#include "support/run_until.hpp"
#include "support/temp_files.hpp"
#include "window/widget_owners.hpp"

// From gdk/gdkx.h, whose X11 macros clash with names in the tests.
extern "C" unsigned long gdk_x11_window_get_xid(GdkWindow* window);

namespace quillora::test {

using namespace std::chrono_literals;

// A condition for RunUntil: the window of `widget` has painted a frame since this was made.
// Style and size changes made before are in place by then, as the toolkit applies them in the
// frame's layout step, before it paints.
class FramePainted {
public:
    explicit FramePainted(GtkWidget* widget)
        : clock_(GObjectPtr<GdkFrameClock>::Retain(gtk_widget_get_frame_clock(widget)))
        , painted_(std::make_shared<bool>(false))
    {
        if (!clock_) {
            ADD_FAILURE() << "no frame clock: the widget is not realized";
            *painted_ = true;
            return;
        }
        connection_ = Connect<void(GdkFrameClock*)>(clock_.get(), "after-paint",
                                                    [painted = painted_](GdkFrameClock*) { *painted = true; });
        gtk_widget_queue_draw(gtk_widget_get_toplevel(widget));
    }
    [[nodiscard]] bool operator()() const { return *painted_; }

private:
    GObjectPtr<GdkFrameClock> clock_;  // kept for the connection, which goes first
    std::shared_ptr<bool> painted_;
    SignalConnection connection_;
};

// Runs the main loop until `widget`'s window has painted a new frame.
inline bool RunUntilPainted(GtkWidget* widget)
{
    const FramePainted painted(widget);
    return RunUntil([&] { return painted(); });
}

// A toplevel window of a test's own, destroyed with this object.
class TestWindow : public OwnedToplevel {
public:
    TestWindow() : OwnedToplevel(gtk_window_new(GTK_WINDOW_TOPLEVEL)) {}
    [[nodiscard]] GtkWindow* get() const { return window(); }
    [[nodiscard]] GtkWidget* widget() const { return OwnedToplevel::get(); }
};

// The widget below `root` (or `root` itself) whose widget name is `name`, null when none is.
inline GtkWidget* FindByName(GtkWidget* root, const std::string& name)
{
    if (gtk_widget_get_name(root) == name) return root;
    for (GtkWidget* child : ChildrenOf(root)) {
        if (GtkWidget* found = FindByName(child, name)) return found;
    }
    return nullptr;
}

// A window's title, empty for none.
inline std::string TitleOf(GtkWindow* window)
{
    const char* title = gtk_window_get_title(window);
    return title != nullptr ? title : "";
}

// A widget's tool tip, empty for none.
inline std::string TooltipOf(GtkWidget* widget)
{
    const GCharPtr text(gtk_widget_get_tooltip_text(widget));
    return text ? text.get() : "";
}

// A page in UTF-8 with a title and a body.
inline std::string Page(const std::string& title, const std::string& body)
{
    return "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>" + title + "</title></head><body>" + body +
           "</body></html>";
}

// Runs `body` as the body of an async JavaScript function in the page and returns the string
// value it returns (promises are awaited), or nullopt when it throws or times out.
inline std::optional<std::string> EvaluateScript(WebKitWebView* view, const std::string& body)
{
    struct Outcome {
        bool done = false;
        std::optional<std::string> value;
    } outcome;
    webkit_web_view_call_async_javascript_function(
        view, body.c_str(), -1, nullptr, nullptr, nullptr, nullptr,
        [](GObject* source, GAsyncResult* result, gpointer data) {
            auto& out = *static_cast<Outcome*>(data);
            GError* error = nullptr;
            JSCValue* value =
                webkit_web_view_call_async_javascript_function_finish(WEBKIT_WEB_VIEW(source), result, &error);
            if (value != nullptr) {
                gchar* text = jsc_value_to_string(value);
                out.value = text;
                g_free(text);
                g_object_unref(value);
            }
            if (error != nullptr) {
                g_error_free(error);
            }
            out.done = true;
        },
        &outcome);
    if (!RunUntil([&] { return outcome.done; })) {
        ADD_FAILURE() << "script did not finish: " << body;
        // The callback still points at `outcome`; wait for it rather than leave it dangling.
        RunUntil([&] { return outcome.done; }, 600s);
    }
    return outcome.value;
}

// Real X input: xdotool with the keyboard focus on `window` first, then `arguments` ("key
// ctrl+c", "mousemove ... click 3"). True when xdotool succeeded.
inline bool Xdotool(GdkWindow* window, const std::string& arguments)
{
    const std::string command =
        "xdotool windowfocus --sync " + std::to_string(gdk_x11_window_get_xid(window)) + " " + arguments;
    int status = -1;
    return g_spawn_command_line_sync(command.c_str(), nullptr, nullptr, &status, nullptr) && status == 0;
}

// The text on the clipboard, read through the main loop.
inline std::optional<std::string> ClipboardText()
{
    struct Outcome {
        bool done = false;
        std::optional<std::string> text;
    } outcome;
    gtk_clipboard_request_text(
        gtk_clipboard_get(GDK_SELECTION_CLIPBOARD),
        [](GtkClipboard*, const gchar* text, gpointer data) {
            auto& out = *static_cast<Outcome*>(data);
            if (text != nullptr) {
                out.text = text;
            }
            out.done = true;
        },
        &outcome);
    RunUntil([&] { return outcome.done; }, 600s);
    return outcome.text;
}

}  // namespace quillora::test
