// The custom menu on the real window: its definition file, a chosen item's action, the file's
// removal when the window closes, and a window that its menu never makes wider than the screen.
#include <gtest/gtest.h>
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

// The shell's items, in their order.
std::vector<GtkMenuItem*> ItemsOf(GtkWidget* shell)
{
    std::vector<GtkMenuItem*> items;
    for (GtkWidget* child : ChildrenOf(shell)) {
        if (GTK_IS_MENU_ITEM(child)) items.push_back(GTK_MENU_ITEM(child));
    }
    return items;
}

GtkMenuItem* FindItem(GtkWidget* shell, const std::string& name)
{
    for (GtkMenuItem* item : ItemsOf(shell)) {
        if (gtk_widget_get_name(GTK_WIDGET(item)) == name) {
            return item;
        }
        if (GtkWidget* sub = gtk_menu_item_get_submenu(item)) {
            if (GtkMenuItem* found = FindItem(sub, name)) {
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
    for (const char* line :
         {"[GERAL]", "MENU_0=&Book", "[MENU]", "ITENS_0=&Home-@-Rename &me", "[ACOES]",
          "MENUx0_0=APPLICATIONTITLE \"Chosen\"", "MENUx0_1=RENAMEMENUITEM \"MENUx0_1\"==\"Renamed\""}) {
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

    GtkWidget* bar = window->Component("Menu_Normal");
    EXPECT_TRUE(gtk_widget_get_visible(bar));
    GtkMenuItem* home = FindItem(bar, "MENUx0_0");
    ASSERT_NE(home, nullptr);
    gtk_menu_item_activate(home);
    EXPECT_TRUE(test::RunUntil([&] { return test::TitleOf(window->Window()) == "Chosen"; }));
    gtk_menu_item_activate(FindItem(bar, "MENUx0_1"));
    // Shown with an access letter of its own.
    EXPECT_TRUE(test::RunUntil(
        [&] {
            std::string label = gtk_menu_item_get_label(FindItem(bar, "MENUx0_1"));
            std::erase(label, '_');
            return label == "Renamed";
        },
        std::chrono::seconds(5)));
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
        {"two 2047-character captions",
         {"[GERAL]", "MENU_0=" + std::string(2047, 'W'), "MENU_1=" + std::string(2047, 'm')}},
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
        GtkWidget* bar = window->Component("Menu_Normal");
        ASSERT_TRUE(test::RunUntil([&] {
            return gtk_widget_get_mapped(bar) && gtk_widget_get_allocated_width(bar) > 1;
        })) << c.label;

        int minimum = 0;
        int natural = 0;
        gtk_widget_get_preferred_width(window->Widget(), &minimum, &natural);
        EXPECT_LE(minimum, area.width) << c.label;
        int width = 0;
        int height = 0;
        gtk_window_get_size(window->Window(), &width, &height);
        EXPECT_LE(width, area.width) << c.label;
        // The bar scrolls inside its strip of the window, and a menu selected there scrolls into
        // view, as when the reader moves along the bar with the keyboard.
        GtkWidget* strip = gtk_widget_get_ancestor(bar, GTK_TYPE_SCROLLED_WINDOW);
        ASSERT_NE(strip, nullptr) << c.label;
        EXPECT_LE(gtk_widget_get_allocated_width(strip), width) << c.label;
        GtkMenuItem* last = ItemsOf(bar).back();
        gtk_menu_shell_select_item(GTK_MENU_SHELL(bar), GTK_WIDGET(last));
        GtkAdjustment* scroll = gtk_scrolled_window_get_hadjustment(GTK_SCROLLED_WINDOW(strip));
        int x = 0;
        int y = 0;
        EXPECT_TRUE(test::RunUntil([&] {
            return gtk_widget_translate_coordinates(GTK_WIDGET(last), bar, 0, 0, &x, &y) &&
                   gtk_adjustment_get_value(scroll) + gtk_adjustment_get_page_size(scroll) >=
                       x + gtk_widget_get_allocated_width(GTK_WIDGET(last)) &&
                   gtk_adjustment_get_value(scroll) <= x;
        })) << c.label;
        gtk_menu_shell_deactivate(GTK_MENU_SHELL(bar));
        // An open menu, and the sub-menu in it, as wide as they ask to be.
        for (GtkMenuItem* item = ItemsOf(bar).front(); item != nullptr;) {
            GtkWidget* menu = gtk_menu_item_get_submenu(item);
            if (menu == nullptr) {
                break;
            }
            gtk_widget_get_preferred_width(menu, &minimum, &natural);
            EXPECT_LE(natural, area.width) << c.label;
            const auto items = ItemsOf(menu);
            item = items.empty() ? nullptr : items.front();
        }
    }
}

}  // namespace
}  // namespace quillora
