#include "window/window_action_host.hpp"

#include <unistd.h>

#include <optional>

#include "actions/shell_requests.hpp"
#include "book/self_path.hpp"
#include "common/error.hpp"
#include "common/gobject_ptr.hpp"
#include "webview/web_browser.hpp"
#include "window/form_apresentacao.hpp"
#include "window/launch_environment.hpp"
#include "window/message_boxes.hpp"
#include "window/tool_buttons.hpp"

namespace quillora {

namespace {

const char* NameOf(Bar bar)
{
    return bar == Bar::Status ? "barra_estado" : "toolbar";
}

}  // namespace

void WindowActionHost::ShowMessage(const std::string& caption, const std::string& text)
{
    ShowWarningBox(window_.Window(), caption, text);
}

void WindowActionHost::SetCaption(const std::string& caption)
{
    window_.SetCaption(caption);
}

void WindowActionHost::CloseWindow()
{
    // During start-up the window has not been shown: the program ends without showing it.
    if (!gtk_widget_get_visible(window_.Widget())) {
        window_.RequestQuit();
        return;
    }
    gtk_window_close(window_.Window());
}

void WindowActionHost::MaximizeWindow()
{
    gtk_window_maximize(window_.Window());
}

void WindowActionHost::MinimizeApplication()
{
    gtk_window_iconify(window_.Window());
}

std::string WindowActionHost::HomePage() const
{
    return window_.Kept().home_page;
}

std::string WindowActionHost::ExecutableFolder() const
{
    return window_.ExecutableFolder();
}

void WindowActionHost::Navigate(const std::string& target)
{
    // A path that names no page of the book (a folder, the book's own folder for an empty
    // path, a file outside the book) would show a listing or a file from elsewhere.
    if (!target.empty() && target.front() == '/' && !RegularFileWithin(window_.ExecutableFolder(), target)) {
        window_.ShowPageNotFound(target);
        return;
    }
    window_.Web().Navigate(target);
}

void WindowActionHost::StopLoading()
{
    window_.Web().Stop();
}

void WindowActionHost::PrintPreview()
{
    window_.Web().ExecWB(OleCmdId::PrintPreview, OleCmdExecOpt::DontPromptUser);
}

void WindowActionHost::PageSetup()
{
    window_.Web().ExecWB(OleCmdId::PageSetup, OleCmdExecOpt::PromptUser);
}

void WindowActionHost::ClickButton(ToolButton button)
{
    (window_.*ClickMemberOf(button))();
}

bool WindowActionHost::IsButtonEnabled(ToolButton button) const
{
    return gtk_widget_get_sensitive(window_.ButtonOf(button)) != FALSE;
}

void WindowActionHost::SetButtonEnabled(ToolButton button, bool enabled)
{
    gtk_widget_set_sensitive(window_.ButtonOf(button), enabled);
}

bool WindowActionHost::IsBarVisible(Bar bar) const
{
    return gtk_widget_get_visible(window_.RequireComponent(NameOf(bar))) != FALSE;
}

void WindowActionHost::SetBarVisible(Bar bar, bool visible)
{
    gtk_widget_set_visible(window_.RequireComponent(NameOf(bar)), visible);
}

namespace {

// Hands the address to the desktop; false, with the desktop's reason, when it cannot open it.
bool OpenThroughDesktop(const std::string& uri, std::string& reason)
{
    const auto context = LaunchContextForBookPrograms(gdk_display_get_default());
    GError* raw_error = nullptr;
    if (!g_app_info_launch_default_for_uri(uri.c_str(), context.get(), &raw_error)) {
        const GErrorPtr error(raw_error);
        reason = error && error->message != nullptr ? error->message : "";
        return false;
    }
    return true;
}

}  // namespace

void WindowActionHost::OpenUri(const std::string& uri)
{
    // Whatever the desktop shows when it cannot open the address is all the reader sees.
    std::string reason;
    if (!OpenThroughDesktop(uri, reason)) {
        g_message("The desktop cannot open %s: %s", uri.c_str(), reason.c_str());
    }
}

void WindowActionHost::OpenFile(const std::string& path, const std::string& parameters)
{
    // On the desktop the book was made for, the shell says when it cannot open a file; here
    // the reader is told in a box, or a click on the link would seem to do nothing.
    std::optional<std::string> failure;
    GError* raw_error = nullptr;
    if (access(path.c_str(), X_OK) == 0 && !g_file_test(path.c_str(), G_FILE_TEST_IS_DIR)) {
        // A program is started with its parameters split as a shell would, never by a shell.
        std::vector<std::string> arguments{path};
        gchar** split = nullptr;
        if (!parameters.empty() && !g_shell_parse_argv(parameters.c_str(), nullptr, &split, &raw_error)) {
            failure = GErrorPtr(raw_error)->message;
        } else {
            for (gchar** word = split; word != nullptr && *word != nullptr; ++word) {
                arguments.emplace_back(*word);
            }
            g_strfreev(split);
            std::vector<char*> argv;
            for (auto& argument : arguments) argv.push_back(argument.data());
            argv.push_back(nullptr);
            std::vector<std::string> environment = EnvironmentForBookPrograms();
            std::vector<char*> envp;
            for (auto& variable : environment) envp.push_back(variable.data());
            envp.push_back(nullptr);
            // In the program's working folder.
            if (!g_spawn_async(nullptr, argv.data(), envp.data(), G_SPAWN_DEFAULT, nullptr, nullptr, nullptr,
                               &raw_error)) {
                failure = GErrorPtr(raw_error)->message;
            }
        }
    } else {
        const GCharPtr current(g_get_current_dir());
        const std::string full = g_path_is_absolute(path.c_str())
                                     ? path
                                     : GCharPtr(g_build_filename(current.get(), path.c_str(), nullptr)).get();
        const GCharPtr uri(g_filename_to_uri(full.c_str(), nullptr, &raw_error));
        std::string reason;
        if (!g_file_test(full.c_str(), G_FILE_TEST_EXISTS)) {
            failure = NoSuchFileText;
        } else if (!uri) {
            failure = GErrorPtr(raw_error)->message;
        } else if (!OpenThroughDesktop(uri.get(), reason)) {
            failure = reason;
        }
    }
    if (failure) {
        ShowWarningBox(window_.Window(), window_.ApplicationTitle(), OpenFileFailureText(path, *failure));
    }
}

void WindowActionHost::ChangeMenuItem(const MenuAddress& address, MenuItemChange change, const std::string& caption)
{
    window_.ChangeMenuItem(address, change, caption);
}

void WindowActionHost::DisableReferencedMenuItem(const std::string& /*name*/)
{
    // The window holds no referenced menu item: nothing in an e-book can make it hold one, so
    // the command finds nothing to rename or disable.
}

}  // namespace quillora
