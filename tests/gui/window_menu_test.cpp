// The custom menu on the real window: its definition file, a chosen item's action, and the file's
// removal when the window closes.
#include <gtest/gtest.h>
#include <gtkmm/menu.h>
#include <gtkmm/menubar.h>
#include <gtkmm/menuitem.h>
#include <sys/stat.h>

#include <memory>
#include <regex>
#include <string>

#include "common/event_boundary.hpp"
#include "ebook_fixture.hpp"
#include "gui_test_support.hpp"
#include "payload/setting_index.hpp"
#include "window/form_apresentacao.hpp"

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

}  // namespace
}  // namespace quillora
