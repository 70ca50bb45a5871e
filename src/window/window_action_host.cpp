#include "window/window_action_host.hpp"

#include <gtkmm/toolbutton.h>
#include <glibmm/shell.h>
#include <glibmm/convert.h>
#include <glibmm/fileutils.h>
#include <glibmm/miscutils.h>
#include <glibmm/spawn.h>
#include <unistd.h>

#include <optional>

#include "actions/shell_requests.hpp"
#include "common/error.hpp"
#include "menu/custom_menu.hpp"
#include "common/gobject_ptr.hpp"
#include "webview/web_browser.hpp"
#include "window/form_apresentacao.hpp"
#include "window/launch_environment.hpp"
#include "window/message_boxes.hpp"
#include "window/self_path.hpp"
#include "window/tool_buttons.hpp"

namespace quillora {

namespace {

const ToolButtonHandler& Of(ToolButton button)
{
    return ToolButtonHandlers()[static_cast<std::size_t>(button)];
}

const char* NameOf(Bar bar)
{
    return bar == Bar::Status ? "barra_estado" : "toolbar";
}

}  // namespace

void WindowActionHost::ShowMessage(const std::string& caption, const std::string& text)
{
    ShowWarningBox(window_.gobj(), caption, text);
}

void WindowActionHost::SetCaption(const std::string& caption)
{
    window_.set_title(caption);
    window_.gradiente.FormCaption = caption;
    window_.gradiente.Update();
}

void WindowActionHost::CloseWindow()
{
    // During start-up the window has not been shown: the program ends without showing it.
    if (!window_.get_visible()) {
        window_.RequestQuit();
        return;
    }
    window_.close();
}

void WindowActionHost::MaximizeWindow()
{
    window_.maximize();
}

void WindowActionHost::MinimizeApplication()
{
    window_.iconify();
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
    (window_.*Of(button).click)();
}

bool WindowActionHost::IsButtonEnabled(ToolButton button) const
{
    return window_.RequireComponent(Of(button).name).get_sensitive();
}

void WindowActionHost::SetButtonEnabled(ToolButton button, bool enabled)
{
    window_.RequireComponent(Of(button).name).set_sensitive(enabled);
}

bool WindowActionHost::IsBarVisible(Bar bar) const
{
    return window_.RequireComponent(NameOf(bar)).get_visible();
}

void WindowActionHost::SetBarVisible(Bar bar, bool visible)
{
    window_.RequireComponent(NameOf(bar)).set_visible(visible);
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
    try {
        if (access(path.c_str(), X_OK) == 0 && !Glib::file_test(path, Glib::FILE_TEST_IS_DIR)) {
            // A program is started with its parameters split as a shell would, never by a shell.
            std::vector<std::string> argv{path};
            if (!parameters.empty()) {
                const auto split = Glib::shell_parse_argv(parameters);
                argv.insert(argv.end(), split.begin(), split.end());
            }
            // In the program's working folder.
            Glib::spawn_async("", argv, EnvironmentForBookPrograms(), Glib::SPAWN_DEFAULT);
        } else {
            const std::string full = Glib::path_is_absolute(path)
                                         ? path
                                         : Glib::build_filename(Glib::get_current_dir(), path);
            std::string reason;
            if (!Glib::file_test(full, Glib::FILE_TEST_EXISTS)) {
                failure = NoSuchFileText;
            } else if (!OpenThroughDesktop(Glib::filename_to_uri(full), reason)) {
                failure = reason;
            }
        }
    } catch (const Glib::Error& error) {
        failure = error.what();
    }
    if (failure) {
        ShowWarningBox(window_.gobj(), window_.ApplicationTitle(), OpenFileFailureText(path, *failure));
    }
}

void WindowActionHost::ChangeMenuItem(const MenuAddress& address, MenuItemChange change,
                                      const std::string& caption)
{
    window_.Menu().ChangeItem(address, change, caption);
}

void WindowActionHost::DisableReferencedMenuItem(const std::string& /*name*/)
{
    // The window holds no referenced menu item: nothing in an e-book can make it hold one, so
    // the command finds nothing to rename or disable.
}

}  // namespace quillora
