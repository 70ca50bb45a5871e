#include "actions/action_interpreter.hpp"

#include <algorithm>

#include "actions/action_text.hpp"
#include "actions/book_paths.hpp"
#include "actions/command_table.hpp"
#include "actions/shell_requests.hpp"
#include "actions/tool_commands.hpp"
#include "book/page_path.hpp"
#include "common/error.hpp"
#include "payload/conversions.hpp"
#include "payload/text_encoding.hpp"

namespace quillora {
namespace {

// Menu item names start with a five-character prefix ("MENUx") that is never looked at.
constexpr std::size_t MenuNamePrefixLength = 5;

void ClickIfEnabled(ActionHost& host, ToolButton button)
{
    if (host.IsButtonEnabled(button)) {
        host.ClickButton(button);
    }
}

void ToggleBar(ActionHost& host, Bar bar)
{
    host.SetBarVisible(bar, !host.IsBarVisible(bar));
}

void SetNamedButtonEnabled(ActionHost& host, const std::string& command, bool enabled)
{
    if (const auto button = FindButtonName(QuotedParameter(1, command))) {
        host.SetButtonEnabled(*button, enabled);
    }
}

void ChangeMenuItem(ActionHost& host, const std::string& command, MenuItemChange change)
{
    const auto address = MenuAddressOf(QuotedParameter(1, command));
    if (!address) {
        return;
    }
    const std::string caption = change == MenuItemChange::Rename ? QuotedParameter(2, command) : "";
    host.ChangeMenuItem(*address, change, caption);
}

// A page of the book: its authored path placed below the executable's folder.
std::string BookPageTarget(const ActionHost& host, const std::string& authored_path)
{
    return WithTrailingSlash(host.ExecutableFolder()) + LocalPathOf(RebaseBookPath(host.HomePage(), authored_path));
}

void Perform(Command command, const std::string& c, ActionHost& host)
{
    switch (command) {
    case Command::Message: host.ShowMessage(QuotedParameter(1, c), QuotedParameter(2, c)); break;
    case Command::ApplicationTitle: host.SetCaption(QuotedParameter(1, c)); break;
    case Command::ApplicationExit: host.CloseWindow(); throw SilentAbort();
    case Command::ApplicationMaximize: host.MaximizeWindow(); break;
    case Command::ApplicationMinimize: host.MinimizeApplication(); break;
    case Command::LoadHtml: host.Navigate(BookPageTarget(host, QuotedParameter(1, c))); break;
    case Command::DesabilitarMenu: host.DisableReferencedMenuItem(QuotedParameter(1, c)); break;
    case Command::WebHome: host.ClickButton(ToolButton::Home); break;
    case Command::WebBack: ClickIfEnabled(host, ToolButton::Back); break;
    case Command::WebNext: ClickIfEnabled(host, ToolButton::Forward); break;
    case Command::WebRefresh: host.ClickButton(ToolButton::Refresh); break;
    case Command::WebStop: host.StopLoading(); break;
    case Command::WebSelectAll: host.ClickButton(ToolButton::SelectAll); break;
    case Command::WebSelectionCopy: host.ClickButton(ToolButton::Copy); break;
    case Command::WebPrintPage: host.ClickButton(ToolButton::Print); break;
    case Command::ShowFormAbout: host.ClickButton(ToolButton::About); break;
    case Command::HideStatusBar: host.SetBarVisible(Bar::Status, false); break;
    case Command::ShowStatusBar: host.SetBarVisible(Bar::Status, true); break;
    case Command::ShowButtonsNavigations: host.SetBarVisible(Bar::Tool, true); break;
    case Command::HideButtonsNavigations: host.SetBarVisible(Bar::Tool, false); break;
    case Command::EnableButtonNavigation: SetNamedButtonEnabled(host, c, true); break;
    case Command::DisableButtonNavigation: SetNamedButtonEnabled(host, c, false); break;
    case Command::ShowOrHideButtonsNavigations: ToggleBar(host, Bar::Tool); break;
    case Command::ShowOrHideStatusBar: ToggleBar(host, Bar::Status); break;
    case Command::DisableMenuItem: ChangeMenuItem(host, c, MenuItemChange::Disable); break;
    case Command::DeleteMenuItem: ChangeMenuItem(host, c, MenuItemChange::Delete); break;
    case Command::EnableMenuItem: ChangeMenuItem(host, c, MenuItemChange::Enable); break;
    case Command::RenameMenuItem: ChangeMenuItem(host, c, MenuItemChange::Rename); break;
    case Command::WebLink: OpenWebAddress(host, QuotedParameter(1, c)); break;
    case Command::SendEmail: host.OpenUri(MailAddressOf(QuotedParameter(1, c))); break;
    case Command::WebPrintPreview: host.PrintPreview(); break;
    case Command::WebPageSetup: host.PageSetup(); break;
    case Command::ExecuteOrOpenFile:
        ShellOpenFile(host, "EXECUTEOROPENFILE",
                      ExpandPathMacros(QuotedParameter(1, c), MacroFoldersFor(host.ExecutableFolder())),
                      QuotedParameter(2, c));
        break;
    }
}

}  // namespace

std::optional<MenuAddress> MenuAddressOf(std::string_view name)
{
    const std::string prefix = Utf8Prefix(name, MenuNamePrefixLength);
    const std::string rest(name.substr(prefix.size()));
    const auto underscores = std::count(rest.begin(), rest.end(), '_');
    if (underscores != 1 && underscores != 2) {
        return std::nullopt;
    }
    MenuAddress address;
    for (int m = 1; m <= underscores + 1; ++m) {
        address.push_back(ToNumber(NthItem(m, "_", rest + "_")));
    }
    return address;
}

void RunActionString(const std::string& action, ActionHost& host)
{
    for (const std::string& piece : SplitCommands(action)) {
        const std::string command = CleanCommand(piece);
        if (const auto known = FindCommand(CommandWord(command))) {
            Perform(*known, command, host);
        }
    }
}

}  // namespace quillora
