#include <gtest/gtest.h>

#include "book_plan.hpp"
#include "pack_test_support.hpp"
#include "payload/setting_index.hpp"

namespace quillora::pack {
namespace {

using testing::TempDir;
using testing::WriteFile;
namespace fs = std::filesystem;

class BookChecks : public ::testing::Test {
protected:
    BookChecks() { WriteFile(dir_ / "pages" / "index.html", "<p>home</p>"); }

    LoadedBook Check(const std::string& text) { return CheckBookText(text, "book.conf", dir_.Path()); }
    std::string Problems(const std::string& text) { return Check(text).diagnostics.FormatAll(); }

    TempDir dir_;
};

TEST_F(BookChecks, AnEmptySourceGivesACompleteCleanBook)
{
    const auto book = Check("");
    EXPECT_EQ(book.diagnostics.FormatAll(), "");
    ASSERT_EQ(book.plan.settings.size(), static_cast<std::size_t>(SettingCount));
    EXPECT_TRUE(book.plan.menu.empty());
    const auto& s = book.plan.settings;
    EXPECT_EQ(s[setting::title], "Untitled e-book");
    EXPECT_EQ(s[setting::home_page], "C:\\Quillora\\pages\\index.html");
    EXPECT_EQ(s[setting::window_width], "800");
    EXPECT_EQ(s[setting::window_height], "600");
    EXPECT_EQ(s[setting::border_style], "2");
    EXPECT_EQ(s[setting::start_maximized], "0");
    EXPECT_EQ(s[setting::toolbar_visible], "-1");
    EXPECT_EQ(s[setting::hint_back], "Back");
    EXPECT_EQ(s[setting::custom_menu_on], "0");
    EXPECT_EQ(s[setting::reserved_19], "");
    ASSERT_EQ(book.plan.page_folders.size(), 1u);
    EXPECT_EQ(book.plan.page_folders[0].name, "pages");
    EXPECT_EQ(book.plan.page_folders[0].source, dir_ / "pages");
}

TEST_F(BookChecks, DefaultsThatFollowOtherSettings)
{
    const auto book = Check("title = Atlas\n[[menu]]\n[GERAL]\nMENU_0=Book\n");
    EXPECT_EQ(book.diagnostics.FormatAll(), "");
    EXPECT_EQ(book.plan.settings[setting::about_app_name], "Atlas");
    EXPECT_EQ(book.plan.settings[setting::about_title], "About Atlas");
    EXPECT_EQ(book.plan.settings[setting::custom_menu_on], "-1");
    EXPECT_EQ(book.plan.menu, (std::vector<std::string>{"[GERAL]", "MENU_0=Book"}));
}

TEST_F(BookChecks, EveryValueKindIsChecked)
{
    struct Case {
        const char* source;
        const char* problems;
    };
    // source -> exactly the problems reported
    const Case cases[] = {
        {"toolbar_visible = yes\n",
         "book.conf:1: setting toolbar_visible: 'yes' is not a valid boolean value (write -1 for on or 0 for off)\n"},
        {"toolbar_visible =\n",
         "book.conf:1: setting toolbar_visible: '' is not a valid boolean value (write -1 for on or 0 for off)\n"},
        {"toolbar_visible = True\nstatus_bar_visible = false\nsystem_menu = 7\nprint_with_dialog = 0.0\n", ""},
        {"window_width = 800px\n",
         "book.conf:1: setting window_width: '800px' is not a valid integer value (write a whole number)\n"},
        {"window_width = 800 \n", ""},  // the blank after the value is trimmed from the source
        {"window_height = \"600 \"\n",
         "book.conf:1: setting window_height: '600 ' is not a valid integer value (write a whole number)\n"},
        {"window_width = 0\nabout_app_name_size = -3\n",
         "book.conf:1: setting window_width: must be at least 1\n"
         "book.conf:2: setting about_app_name_size: must be at least 1\n"},
        {"window_width = $400\n", ""},
        {"window_width = 99999999999\ngradient_start_color = -$100000000\n",
         "book.conf:1: setting window_width: '99999999999' is out of range: an integer value lies between -2147483648 "
         "and 2147483647\n"
         "book.conf:2: setting gradient_start_color: '-$100000000' is out of range: a hexadecimal value lies between 0 "
         "and FFFFFFFF\n"},
        {"window_width = 7680\nwindow_height = 4320\n", ""},  // the largest common screen
        {"window_width = 7681\nwindow_height = 32767\n",
         "book.conf:1: warning: setting window_width: 7681 pixels is wider than any common screen (7680); the window "
         "opens no larger than the screen\n"
         "book.conf:2: warning: setting window_height: 32767 pixels is taller than any common screen (4320); the "
         "window opens no larger than the screen\n"},
        {"gradient_start_color = #FF0000\n",
         "book.conf:1: setting gradient_start_color: '#FF0000' is not a valid integer value (write a colour name such "
         "as clNavy or a number such as $800000)\n"},
        {"gradient_start_color = CLMAROON\n", ""},
        {"animation_on = -1\nanimation_kind = 14\n",
         "book.conf:2: warning: setting animation_kind: no animation runs; the animations are numbered 0 to 13\n"},
        {"animation_kind = 14\n", ""},  // not read while animations are off
        {"animation_kind = fast\n", "book.conf:1: warning: setting animation_kind: 'fast' is not a valid integer value "
                                    "(write a whole number); not read while its switch is off\n"},
        {"animation_on = -1\nanimation_kind = fast\n",
         "book.conf:2: setting animation_kind: 'fast' is not a valid integer value (write a whole number)\n"},
        {"skin_on = -1\nskin_index = -1\n", "book.conf:2: setting skin_index: the skins are numbered 0 to 15; a "
                                            "negative number stops the e-book's start\n"},
        {"skin_on = -1\nskin_index = 16\n",
         "book.conf:2: warning: setting skin_index: no skin is loaded; the skins are numbered 0 to 15\n"},
        {"block_ctrl_a = maybe\n", "book.conf:1: warning: setting block_ctrl_a: 'maybe' is not a valid boolean value "
                                   "(write -1 for on or 0 for off); not read while its switch is off\n"},
        {"select_all_button_visible = 0\nblock_ctrl_a = maybe\n",
         "book.conf:2: setting block_ctrl_a: 'maybe' is not a valid boolean value (write -1 for on or 0 for off)\n"},
        {"caption_font = Arial,12\n", "book.conf:1: setting caption_font: the colour (third field) '' is not a colour; "
                                      "write name,size,colour,style such as Arial,12,clWhite,Negrito\n"},
        {"caption_font = Arial,big,clWhite\n",
         "book.conf:1: setting caption_font: the size (second field) 'big' is not a valid integer value; write "
         "name,size,colour,style such as Arial,12,clWhite,Negrito\n"},
        {"caption_font = DejaVu Sans,11,clWhite,Negrito Italico\n", ""},
        {"scrollbar_face_color = red;background:url(x)\n",
         "book.conf:1: setting scrollbar_face_color: 'red;background:url(x)' is not a web colour such as #C0C0C0 or "
         "silver\n"},
        {"scrollbar_face_color = rgb(10, 20, 30)\npage_border_color = \"\"\n", ""},
        {"page_border_style = solid\" onload=\"x\n",
         "book.conf:1: setting page_border_style: 'solid\" onload=\"x' is not a border style such as solid or ridge\n"},
        {"border_style = 5\nstart_maximized = 00\n", "book.conf:1: warning: setting border_style: '5' keeps the "
                                                     "default frame; write 0 (fixed), 1 (none) or 2 (sizeable)\n"
                                                     "book.conf:2: warning: setting start_maximized: '00' opens the "
                                                     "window maximized; write 1 for maximized or 0 for normal\n"},
        {"custom_menu_on = -1\n", "book.conf:1: warning: setting custom_menu_on: the source has no [[menu]] block, so "
                                  "the menu bar stays empty\n"},
        {"custom_menu_on = 0\n[[menu]]\n[GERAL]\nMENU_0=A\n",
         "book.conf:1: warning: setting custom_menu_on: the [[menu]] block is not shown while the custom menu is "
         "off\n"},
        {"startup_action = webhome()-@-MESSAGE \"a\"==\"b\"-@--@-WEBHOME-@-webstop\n",
         "book.conf:1: warning: setting startup_action: unknown command WEBHOME (did you mean WEBHOME()?); the e-book "
         "passes over it\n"},
        {"startup_action = WEBSTOP()-@-HELLO()\n",
         "book.conf:1: warning: setting startup_action: unknown command WEBSTOP() (did you mean WEBSTOP?); the e-book "
         "passes over it\n"
         "book.conf:1: warning: setting startup_action: unknown command HELLO(); the e-book passes over it\n"},
        {"home_button_alt_on = -1\n", "book.conf:1: warning: setting home_button_alt_on: home_button_alt_page is "
                                      "empty, so the home button opens home_page\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Problems(c.source), c.problems) << c.source;
    }
}

TEST_F(BookChecks, PagesMustExistInTheirFolder)
{
    const std::string folder = dir_.Path().string();
    EXPECT_EQ(Problems("home_page = pages/missing.html\n"),
              "book.conf:1: setting home_page: page not found: " + folder + "/pages/missing.html\n");
    EXPECT_EQ(Problems("home_page = pages\\index.html\n"), "");  // the runtime's reading
    EXPECT_EQ(Problems("home_page = \"\"\n"),
              "book.conf:1: setting home_page: the e-book needs a home page, such as pages/index.html\n");
    EXPECT_EQ(Problems("home_page = index.html\n"), "book.conf:1: setting home_page: 'index.html' names no page "
                                                    "folder; keep the pages in a folder, such as pages/index.html\n");
    fs::create_directories(dir_ / "pages" / "sub.html");
    EXPECT_EQ(Problems("home_page = pages/sub.html\n"),
              "book.conf:1: setting home_page: " + folder + "/pages/sub.html is a folder, not a page\n");

    // The default home page is reported too, and says that it is the default.
    fs::remove(dir_ / "pages" / "index.html");
    EXPECT_EQ(Problems("title = T\n"),
              "book.conf: setting home_page: page not found: " + folder + "/pages/index.html (the default value)\n");
}

TEST_F(BookChecks, TheOtherHomePageMayLieInASecondFolder)
{
    WriteFile(dir_ / "extra" / "start.html", "x");
    WriteFile(dir_ / "more" / "pages" / "start.html", "x");
    const auto book = Check("home_button_alt_page = extra/start.html\n");
    EXPECT_EQ(book.diagnostics.FormatAll(), "");
    EXPECT_EQ(book.plan.settings[setting::home_button_alt_page], "C:\\Quillora\\extra\\start.html");
    ASSERT_EQ(book.plan.page_folders.size(), 2u);
    EXPECT_EQ(book.plan.page_folders[1].name, "extra");

    EXPECT_EQ(Problems("home_button_alt_page = more/pages/start.html\n"),
              "book.conf:1: setting home_button_alt_page: its folder " + (dir_ / "more" / "pages").string() +
                  " has the same name as the folder of home_page; both cannot lie beside the e-book\n");
}

TEST_F(BookChecks, ProblemsComeInLineOrderAllAtOnce)
{
    EXPECT_EQ(
        Problems("skin_on = -1\n"
                 "window_width = wide\n"
                 "nonsense\n"
                 "toolbar_visible = perhaps\n"
                 "skin_index = -2\n"),
        "book.conf:2: setting window_width: 'wide' is not a valid integer value (write a whole number)\n"
        "book.conf:3: expected 'name = value', a '#' comment or the line [[menu]]\n"
        "book.conf:4: setting toolbar_visible: 'perhaps' is not a valid boolean value (write -1 for on or 0 for off)\n"
        "book.conf:5: setting skin_index: the skins are numbered 0 to 15; a negative number stops the e-book's "
        "start\n");
}

TEST_F(BookChecks, PayloadTextHasOneCrLfLinePerSettingThenTheMenu)
{
    const auto book = Check("title = Ålesund\n[[menu]]\n[GERAL]\nMENU_0=Bok\n");
    const std::string text = book.plan.PayloadText();
    EXPECT_TRUE(text.starts_with("Ålesund\r\n0\r\nclNavy\r\n0\r\n2\r\n800\r\n600\r\n"));
    EXPECT_TRUE(text.ends_with("\r\n[GERAL]\r\nMENU_0=Bok\r\n"));
    std::size_t line_ends = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) {
        ++line_ends;
    }
    EXPECT_EQ(line_ends, static_cast<std::size_t>(SettingCount) + 2);
}

}  // namespace
}  // namespace quillora::pack
