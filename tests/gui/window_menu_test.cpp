// The custom menu on the real window: its definition file, a chosen item's action, the file's
// removal when the window closes, and a window that its menu never makes wider than the screen.
#include <gtest/gtest.h>
#include <gtkmm/adjustment.h>
#include <gtkmm/menu.h>
#include <gtkmm/menubar.h>
#include <gtkmm/menuitem.h>
#include <gtkmm/scrolledwindow.h>
#include <sys/stat.h>

#include <memory>
#include <regex>
#include <string>

#include "book_window_test.hpp"
#include "common/event_boundary.hpp"
#include "ebook_fixture.hpp"
#include "gui_test_support.hpp"
#include "payload/setting_index.hpp"
#include "window/form_apresentacao.hpp"
#include "window/work_area.hpp"

namespace quillora {
namespace {

Gtk::MenuItem* FindItem(Gtk::Container& shell, const std::string& name)
{
    for (Gtk::Widget* child : shell.get_children()) {
        auto* item = dynamic_cast<Gtk::MenuItem*>(child);
        if (item == nullptr) {
            continue;
        }
        if (item->get_name() == name) {
            return item;
        }
        if (Gtk::Menu* sub = item->get_submenu()) {
            if (Gtk::MenuItem* found = FindItem(*sub, name)) {
                return found;
            }
        }
    }
    return nullptr;
}

TEST(WindowMenuTest, TheDefinitionFileLivesAsLongAsTheWindowAndItemsRunTheirActions)
{
    std::vector<std::string> reports;
    SetErrorReporter([&](const std::string& text) { reports.push_back(text); });
    test::TempDir temporary;
    g_setenv("TMPDIR", temporary.Path().c_str(), TRUE);

    auto settings = test::PlainSettings();
    settings[setting::custom_menu_on] = "-1";
    for (const char* line : {"[GERAL]", "MENU_0=&Book", "[MENU]", "ITENS_0=&Home-@-Rename &me",
                             "[ACOES]", "MENUx0_0=APPLICATIONTITLE \"Chosen\"",
                             "MENUx0_1=RENAMEMENUITEM \"MENUx0_1\"==\"Renamed\""}) {
        settings.emplace_back(line);
    }
    test::EBookFixture book(settings);
    book.WritePage("index.html", test::Page("Home", ""));
    auto window = Tform_apresentacao::Create();
    ASSERT_TRUE(AtEventBoundary([&] { window->FormCreate(book.ProgramPath()); }));

    // A hidden file of the reader's own, under TMPDIR, holding the settings as CR LF lines.
    const std::string path = window->MenuFilePath();
    EXPECT_TRUE(std::regex_match(path, std::regex(temporary.Path().string() + "/\\.[A-Z]{6}\\.dmt")));
    struct stat status {};
    ASSERT_EQ(stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);
    EXPECT_EQ(path, temporary.Path().string() + "/." + window->Kept().menu_file_stem + ".dmt");

    auto& bar = *window->ComponentAs<Gtk::MenuBar>("Menu_Normal");
    EXPECT_TRUE(bar.get_visible());
    Gtk::MenuItem* home = FindItem(bar, "MENUx0_0");
    ASSERT_NE(home, nullptr);
    home->activate();
    EXPECT_TRUE(test::RunUntil([&] { return window->get_title() == "Chosen"; }));
    FindItem(bar, "MENUx0_1")->activate();
    // Shown with an access letter of its own.
    EXPECT_TRUE(test::RunUntil([&] {
        std::string label = FindItem(bar, "MENUx0_1")->get_label();
        std::erase(label, '_');
        return label == "Renamed";
    }, std::chrono::seconds(5)));
    EXPECT_TRUE(reports.empty()) << reports.front();

    window->FormClose();
    EXPECT_FALSE(std::filesystem::exists(path));
    window.reset();
    g_unsetenv("TMPDIR");
    SetErrorReporter(nullptr);
}

std::string Repeated(std::string_view piece, int times)
{
    std::string text;
    for (int n = 0; n < times; ++n) {
        text += piece;
    }
    return text;
}

using test::BookWindowTest;

TEST_F(BookWindowTest, ItsMenuNeverMakesTheWindowWiderThanTheWorkArea)
{
    const WorkArea area = PrimaryWorkArea();
    struct Case {
        const char* label;
        std::vector<std::string> definition;
    };
    std::vector<std::string> many_menus{"[GERAL]"};
    for (int n = 0; n < 100; ++n) {
        many_menus.push_back("MENU_" + std::to_string(n) + "=Chapter " + std::to_string(n));
    }
    // definition -> a window, a menu bar and open menus inside the work area
    const Case cases[] = {
        {"a 400-character caption", {"[GERAL]", "MENU_0=" + Repeated("Long ", 80)}},
        {"two 2047-character captions", {"[GERAL]", "MENU_0=" + std::string(2047, 'W'), "MENU_1=" + std::string(2047, 'm')}},
        {"a hundred menus", many_menus},
        {"a 2047-character item and sub-item",
         {"[GERAL]", "MENU_0=Book", "[MENU]", "ITENS_0=" + std::string(2047, 'W'), "[SUBMENUS]",
          "ITENS-|0.0|=" + std::string(2047, 'W')}},
    };
    for (const auto& c : cases) {
        settings = test::PlainSettings();
        settings[setting::custom_menu_on] = "-1";
        settings.insert(settings.end(), c.definition.begin(), c.definition.end());
        ASSERT_TRUE(Start({{"index.html", test::Page("Home", "")}})) << c.label << ": " << FirstReport();
        auto& bar = *window->ComponentAs<Gtk::MenuBar>("Menu_Normal");
        ASSERT_TRUE(test::RunUntil([&] { return bar.get_mapped() && bar.get_allocated_width() > 1; })) << c.label;

        int minimum = 0;
        int natural = 0;
        window->get_preferred_width(minimum, natural);
        EXPECT_LE(minimum, area.width) << c.label;
        int width = 0;
        int height = 0;
        window->get_size(width, height);
        EXPECT_LE(width, area.width) << c.label;
        // The bar scrolls inside its strip of the window, and a menu selected there scrolls into
        // view, as when the reader moves along the bar with the keyboard.
        auto& strip = *dynamic_cast<Gtk::ScrolledWindow*>(bar.get_ancestor(GTK_TYPE_SCROLLED_WINDOW));
        EXPECT_LE(strip.get_allocated_width(), width) << c.label;
        auto* last = dynamic_cast<Gtk::MenuItem*>(bar.get_children().back());
        bar.select_item(*last);
        const auto scroll = strip.get_hadjustment();
        int x = 0;
        int y = 0;
        EXPECT_TRUE(test::RunUntil([&] {
            return last->translate_coordinates(bar, 0, 0, x, y) &&
                   scroll->get_value() + scroll->get_page_size() >= x + last->get_allocated_width() &&
                   scroll->get_value() <= x;
        })) << c.label;
        bar.deactivate();
        // An open menu, and the sub-menu in it, as wide as they ask to be.
        for (Gtk::MenuItem* item = dynamic_cast<Gtk::MenuItem*>(bar.get_children().front()); item != nullptr;) {
            Gtk::Menu* menu = item->get_submenu();
            if (menu == nullptr) {
                break;
            }
            menu->get_preferred_width(minimum, natural);
            EXPECT_LE(natural, area.width) << c.label;
            item = dynamic_cast<Gtk::MenuItem*>(menu->get_children().front());
        }
    }
}

}  // namespace
}  // namespace quillora
