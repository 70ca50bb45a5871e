#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "actions/action_interpreter.hpp"
#include "common/error.hpp"
#include "support/recording_action_host.hpp"

namespace quillora {
namespace {

using Calls = std::vector<std::string>;

Calls CallsOf(const std::string& action, test::RecordingActionHost host = {})
{
    RunActionString(action, host);
    return host.calls;
}

TEST(ActionInterpreter, EachWordReachesItsHostMember)
{
    const std::string every_simple_word =
        "APPLICATIONMAXIMIZE()-@-APPLICATIONMINIMIZE()-@-WEBHOME()-@-WEBBACK()-@-WEBNEXT()-@-"
        "WEBREFRESH()-@-WEBSTOP-@-WEBSELECTALL()-@-WEBSELECTIONCOPY()-@-WEBPRINTPAGE()-@-"
        "SHOWFORMABOUT()-@-HIDESTATUSBAR()-@-SHOWSTATUSBAR()-@-HIDEBUTTONSNAVIGATIONS()-@-"
        "SHOWBUTTONSNAVIGATIONS()-@-SHOWORHIDEBUTTONSNAVIGATIONS()-@-WEBPRINTPREVIEW()-@-"
        "WEBPAGESETUP()";
    EXPECT_EQ(CallsOf(every_simple_word),
              (Calls{"MaximizeWindow()", "MinimizeApplication()", "ClickButton(Home)", "ClickButton(Back)",
                     "ClickButton(Forward)", "ClickButton(Refresh)", "StopLoading()", "ClickButton(SelectAll)",
                     "ClickButton(Copy)", "ClickButton(Print)", "ClickButton(About)", "SetBarVisible(Status, off)",
                     "SetBarVisible(Status, on)", "SetBarVisible(Tool, off)", "SetBarVisible(Tool, on)",
                     "SetBarVisible(Tool, off)", "PrintPreview()", "PageSetup()"}));
}

TEST(ActionInterpreter, CommandsAndTheirParameters)
{
    struct Case {
        const char* action;
        Calls expected;
    };
    // action -> host calls
    const Case cases[] = {
        {"", {}},
        {"   ", {}},
        {"WEBHOME()-@-", {"ClickButton(Home)"}},
        {"-@-WEBHOME()", {"ClickButton(Home)"}},
        {"WEBHOME()-@--@-WEBREFRESH()", {"ClickButton(Home)", "ClickButton(Refresh)"}},
        {"  webhome()  -@-WEBHOME() now", {"ClickButton(Home)", "ClickButton(Home)"}},
        {"WEBHOME ()-@-WEBHOME()x-@-WEBSTOP()", {}},
        {"HELLO()-@-WEBHOME()", {"ClickButton(Home)"}},
        {"MESSAGE \"A\"==\"B\"-@-WEBHOME()", {"ShowMessage(A, B)", "ClickButton(Home)"}},
        {"MESSAGE \"A\"", {"ShowMessage(A, )"}},
        {"APPLICATIONTITLE \"Atlas\"", {"SetCaption(Atlas)"}},
        // Button names keep their letter case; the command words do not.
        {"enablebuttonnavigation \"BUTTON_HOME\"", {"SetButtonEnabled(Home, on)"}},
        {"ENABLEBUTTONNAVIGATION \"button_home\"-@-ENABLEBUTTONNAVIGATION BUTTON_HOME", {}},
        {"DISABLEBUTTONNAVIGATION \"BUTTON_HOME\"-@-WEBHOME()", {"SetButtonEnabled(Home, off)", "ClickButton(Home)"}},
        {"DISABLEBUTTONNAVIGATION \"BUTTON_EXIT\"", {"SetButtonEnabled(Exit, off)"}},
        {"SHOWORHIDESTATUSBAR()-@-SHOWORHIDESTATUSBAR()", {"SetBarVisible(Status, off)", "SetBarVisible(Status, on)"}},
        {"LOADHTML \"C:\\Quillora\\pages\\maps\\north.html\"", {"Navigate(/opt/atlas/pages/maps/north.html)"}},
        {"DESABILITARMENU \"mnuHelp\"", {"DisableReferencedMenuItem(mnuHelp)"}},
        {"WEBLINK \"http://x.org\"-@-WEBLINK \"\"-@-WEBLINK \"x.org\"",
         {"OpenUri(http://x.org)", "OpenUri(http://x.org)"}},
        {"SENDEMAIL \"a@b.org?attach=/etc/passwd\"", {"OpenUri(mailto:a@b.org)"}},
        // Macros are expanded in the file name only; a backslash in it is a folder separator.
        {"EXECUTEOROPENFILE \"[Dir]readme.txt\"", {"OpenFile(/opt/atlas/readme.txt, )"}},
        {"EXECUTEOROPENFILE \"[dir]bin\\tool\"==\"-v [Dir]\"", {"OpenFile(/opt/atlas/bin/tool, -v [Dir])"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CallsOf(c.action), c.expected) << c.action;
    }
}

TEST(ActionInterpreter, BackAndNextOnlyWhileTheirButtonsAreEnabled)
{
    test::RecordingActionHost host;
    host.enabled.at(static_cast<std::size_t>(ToolButton::Back)) = false;
    EXPECT_EQ(CallsOf("WEBBACK()-@-WEBNEXT()", host), Calls{"ClickButton(Forward)"});
}

TEST(ActionInterpreter, MenuCommandsAddressItemsByPosition)
{
    struct Case {
        const char* action;
        Calls expected;
    };
    // action -> host calls
    const Case cases[] = {
        {"DISABLEMENUITEM \"MENUx0_0\"-@-DISABLEMENUITEM \"ABCDE0_0\"",
         {"ChangeMenuItem(Disable, 0, 0)", "ChangeMenuItem(Disable, 0, 0)"}},
        {"DISABLEMENUITEM \"MENUx0\"-@-DISABLEMENUITEM \"MENUx0_1_2_3\"-@-ENABLEMENUITEM \"\"", {}},
        {"ENABLEMENUITEM \"MENUx1_0_3\"", {"ChangeMenuItem(Enable, 1, 0, 3)"}},
        {"RENAMEMENUITEM \"MENUx1_0\"==\"Save_as\"", {"ChangeMenuItem(Rename, 1, 0, Save_as)"}},
        {"DELETEMENUITEM \"MENUx0_0\"-@-DELETEMENUITEM \"MENUx0_0\"",
         {"ChangeMenuItem(Delete, 0, 0)", "ChangeMenuItem(Delete, 0, 0)"}},
        // The five characters dropped are characters, not bytes.
        {"DISABLEMENUITEM \"ÉÉÉÉÉ2_1\"", {"ChangeMenuItem(Disable, 2, 1)"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CallsOf(c.action), c.expected) << c.action;
    }
}

TEST(ActionInterpreter, AnErrorEndsTheRunAndEarlierCommandsKeepTheirEffect)
{
    struct Case {
        const char* action;
        const char* fail_on;
        const char* home_page;
        Calls expected;
        const char* message;
    };
    // (action, failing host member, home page) -> calls made, error
    const Case cases[] = {
        {"WEBHOME()-@-WEBPRINTPREVIEW()-@-WEBHOME()",
         "PrintPreview",
         "C:\\b\\p\\i.htm",
         {"ClickButton(Home)", "PrintPreview()"},
         test::RecordingHostFailure},
        {"WEBHOME()-@-LOADHTML \"C:\\b\\p\\x.htm\"-@-WEBHOME()",
         "",
         "index.htm",
         {"ClickButton(Home)"},
         "List index out of bounds (-1)"},
        {"WEBHOME()-@-DISABLEMENUITEM \"MENUx0_a\"-@-WEBHOME()",
         "",
         "C:\\b\\p\\i.htm",
         {"ClickButton(Home)"},
         "'a' is not a valid integer value"},
        {"ENABLEMENUITEM \"MENUx0_\"", "", "C:\\b\\p\\i.htm", {}, "'' is not a valid integer value"},
    };
    for (const auto& c : cases) {
        test::RecordingActionHost host;
        host.fail_on = c.fail_on;
        host.home_page = c.home_page;
        try {
            RunActionString(c.action, host);
            ADD_FAILURE() << "no error for " << c.action;
        } catch (const Error& error) {
            EXPECT_STREQ(error.what(), c.message) << c.action;
        }
        EXPECT_EQ(host.calls, c.expected) << c.action;
    }
}

TEST(ActionInterpreter, ExitClosesTheWindowAndEndsTheRunSilently)
{
    test::RecordingActionHost host;
    EXPECT_THROW(RunActionString("APPLICATIONEXIT()-@-MESSAGE \"x\"==\"y\"", host), SilentAbort);
    EXPECT_EQ(host.calls, Calls{"CloseWindow()"});
}

}  // namespace
}  // namespace quillora
