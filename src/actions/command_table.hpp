#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "actions/action_host.hpp"

namespace quillora {

// The commands of the action language, in the order in which their words are tested.
enum class Command {
    Message,
    ApplicationTitle,
    ApplicationExit,
    ApplicationMaximize,
    ApplicationMinimize,
    LoadHtml,
    DesabilitarMenu,
    WebHome,
    WebBack,
    WebNext,
    WebRefresh,
    WebStop,
    WebSelectAll,
    WebSelectionCopy,
    WebPrintPage,
    ShowFormAbout,
    HideStatusBar,
    ShowStatusBar,
    ShowButtonsNavigations,
    HideButtonsNavigations,
    EnableButtonNavigation,
    DisableButtonNavigation,
    ShowOrHideButtonsNavigations,
    ShowOrHideStatusBar,
    DisableMenuItem,
    DeleteMenuItem,
    EnableMenuItem,
    RenameMenuItem,
    WebLink,
    SendEmail,
    WebPrintPreview,
    WebPageSetup,
    ExecuteOrOpenFile,
};

struct CommandWordEntry {
    std::string_view word;
    Command command;
};

// The 33 command words, all in capitals. A command without parameters carries its "()" in the
// word; WEBSTOP has none although it takes no parameters.
inline constexpr std::array<CommandWordEntry, 33> CommandWords = {{
    {"MESSAGE", Command::Message},
    {"APPLICATIONTITLE", Command::ApplicationTitle},
    {"APPLICATIONEXIT()", Command::ApplicationExit},
    {"APPLICATIONMAXIMIZE()", Command::ApplicationMaximize},
    {"APPLICATIONMINIMIZE()", Command::ApplicationMinimize},
    {"LOADHTML", Command::LoadHtml},
    {"DESABILITARMENU", Command::DesabilitarMenu},
    {"WEBHOME()", Command::WebHome},
    {"WEBBACK()", Command::WebBack},
    {"WEBNEXT()", Command::WebNext},
    {"WEBREFRESH()", Command::WebRefresh},
    {"WEBSTOP", Command::WebStop},
    {"WEBSELECTALL()", Command::WebSelectAll},
    {"WEBSELECTIONCOPY()", Command::WebSelectionCopy},
    {"WEBPRINTPAGE()", Command::WebPrintPage},
    {"SHOWFORMABOUT()", Command::ShowFormAbout},
    {"HIDESTATUSBAR()", Command::HideStatusBar},
    {"SHOWSTATUSBAR()", Command::ShowStatusBar},
    {"SHOWBUTTONSNAVIGATIONS()", Command::ShowButtonsNavigations},
    {"HIDEBUTTONSNAVIGATIONS()", Command::HideButtonsNavigations},
    {"ENABLEBUTTONNAVIGATION", Command::EnableButtonNavigation},
    {"DISABLEBUTTONNAVIGATION", Command::DisableButtonNavigation},
    {"SHOWORHIDEBUTTONSNAVIGATIONS()", Command::ShowOrHideButtonsNavigations},
    {"SHOWORHIDESTATUSBAR()", Command::ShowOrHideStatusBar},
    {"DISABLEMENUITEM", Command::DisableMenuItem},
    {"DELETEMENUITEM", Command::DeleteMenuItem},
    {"ENABLEMENUITEM", Command::EnableMenuItem},
    {"RENAMEMENUITEM", Command::RenameMenuItem},
    {"WEBLINK", Command::WebLink},
    {"SENDEMAIL", Command::SendEmail},
    {"WEBPRINTPREVIEW()", Command::WebPrintPreview},
    {"WEBPAGESETUP()", Command::WebPageSetup},
    {"EXECUTEOROPENFILE", Command::ExecuteOrOpenFile},
}};

// The command whose word equals `word` exactly (the caller has already upper-cased it).
std::optional<Command> FindCommand(std::string_view word);

}  // namespace quillora
