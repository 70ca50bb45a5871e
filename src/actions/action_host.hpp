#pragma once

#include <string>
#include <vector>

namespace quillora {

// The tool-bar buttons as the action language knows them; each one's click member is what
// clicking the button does.
enum class ToolButton { Home, Back, Forward, Refresh, Stop, SelectAll, Copy, Print, Exit, About };

// The two bars the action language shows and hides.
enum class Bar { Status, Tool };

// What a menu command does to the item it addresses.
enum class MenuItemChange { Disable, Enable, Rename, Delete };

// A menu item's position: top-level item, item below it and, for three numbers, the item below
// that; all 0-based. Read from an item name by position, never by searching the menu.
using MenuAddress = std::vector<int>;

// Everything an action string can do to the window, the browser and the desktop. The window
// implements it; the interpreter knows nothing else of the program, so that it can be tested
// against a recording host. Every member may throw Error, which ends the run of the action
// string at that command.
class ActionHost {
public:
    virtual ~ActionHost() = default;

    // A modal warning box with the caption and text; returns once the reader has closed it.
    virtual void ShowMessage(const std::string& caption, const std::string& text) = 0;
    // The main window's caption and the gradient caption's text (the application title stays).
    virtual void SetCaption(const std::string& caption) = 0;
    // Closes the main window through its ordinary close path.
    virtual void CloseWindow() = 0;
    virtual void MaximizeWindow() = 0;
    virtual void MinimizeApplication() = 0;

    // The setting `home_page` as kept (a stored backslash path) and the executable's folder
    // (ending in "/"), for forming the local path of a page.
    [[nodiscard]] virtual std::string HomePage() const = 0;
    [[nodiscard]] virtual std::string ExecutableFolder() const = 0;
    // Loads a local path (absolute, "/" separated) or an address in the browser. A local path
    // that names no file of the book shows the book's own "Page not found" page instead.
    virtual void Navigate(const std::string& target) = 0;
    virtual void StopLoading() = 0;
    virtual void PrintPreview() = 0;
    virtual void PageSetup() = 0;

    // Runs the button's click member, whether or not the button is shown or enabled.
    virtual void ClickButton(ToolButton button) = 0;
    [[nodiscard]] virtual bool IsButtonEnabled(ToolButton button) const = 0;
    virtual void SetButtonEnabled(ToolButton button, bool enabled) = 0;

    [[nodiscard]] virtual bool IsBarVisible(Bar bar) const = 0;
    virtual void SetBarVisible(Bar bar, bool visible) = 0;

    // Hands an address (http:, https:, mailto:) to the desktop's default handler. Failures are
    // not reported: whatever the desktop shows is all the reader sees.
    virtual void OpenUri(const std::string& uri) = 0;
    // Starts a program with the parameter text split as a shell would (never through a shell),
    // or opens any other file with the desktop's default application. When that cannot be done
    // (no such file, no program for it) the reader is told in a warning box, as the shell would.
    virtual void OpenFile(const std::string& path, const std::string& parameters) = 0;

    // The custom menu's commands. `caption` is used by Rename only.
    virtual void ChangeMenuItem(const MenuAddress& address, MenuItemChange change, const std::string& caption) = 0;
    // DESABILITARMENU: names the window's one referenced menu item and disables it.
    virtual void DisableReferencedMenuItem(const std::string& name) = 0;
};

}  // namespace quillora
