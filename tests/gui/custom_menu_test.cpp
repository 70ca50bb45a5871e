// The custom menu on a menu bar of its own: the tree built from a definition, which items
// announce themselves when chosen or opened, and the menu commands by position.

#include "menu/custom_menu.hpp"

#include <atk/atk.h>
#include <gtkmm/separatormenuitem.h>
#include <gtkmm/label.h>
#include <gtkmm/menu.h>
#include <gtkmm/separatormenuitem.h>
#include <gtkmm/window.h>

#include "common/error.hpp"
#include "gui_test_support.hpp"

namespace quillora {
namespace {

const std::string Example =
    "[GERAL]\r\nMENU_0=&Book\r\nMENU_1=&Help\r\n"
    "[MENU]\r\nITENS_0=Home-@-Print-@-History-@-Exit\r\nITENS_1=About\r\n"
    "[SUBMENUS]\r\nITENS-|0.2|=Back-@-Forward\r\n"
    "[ACOES]\r\nMENUx0_0=WEBHOME()\r\nMENUx0_1=WEBPRINTPAGE()\r\nMENUx0_2_0=WEBBACK()\r\n"
    "MENUx0_2_1=WEBNEXT()\r\nMENUx0_3=APPLICATIONEXIT()\r\nMENUx1_0=SHOWFORMABOUT()\r\n";

class CustomMenuTest : public testing::Test {
protected:
    void SetUp() override
    {
        window_.add(bar_);
        window_.show_all();
        menu_.signal_item_chosen().connect([this](const std::string& name) { chosen_.push_back(name); });
    }

    void Build(const std::string& definition) { menu_.Build(BuildMenuModel(ProfileText::Parse(definition))); }

    static std::vector<Gtk::MenuItem*> Items(Gtk::MenuShell& shell)
    {
        std::vector<Gtk::MenuItem*> items;
        for (auto* child : shell.get_children()) {
            items.push_back(dynamic_cast<Gtk::MenuItem*>(child));
        }
        return items;
    }
    // Opens the item's sub-menu as the menu does when the pointer rests on the item.
    static void Open(Gtk::MenuItem* item)
    {
        item->get_submenu()->popup_at_widget(item, Gdk::GRAVITY_NORTH_EAST, Gdk::GRAVITY_NORTH_WEST, nullptr);
    }
    Gtk::MenuItem* Item(std::size_t menu, std::size_t item) { return Items(*Items(bar_).at(menu)->get_submenu()).at(item); }

    // The tree as one line: shown label and widget name, hidden entries in [], children in ().
    static std::string Outline(Gtk::MenuShell& shell)
    {
        std::string text;
        for (auto* item : Items(shell)) {
            std::string entry = dynamic_cast<Gtk::SeparatorMenuItem*>(item) ? "-" : item->get_label();
            if (item->get_name().substr(0, 5) == "MENUx") {
                entry += "=" + std::string(item->get_name());
            }
            if (!item->get_visible()) {
                entry = "[" + entry + "]";
            }
            if (auto* submenu = item->get_submenu()) {
                entry += "(" + Outline(*submenu) + ")";
            }
            text += (text.empty() ? "" : " ") + entry;
        }
        return text;
    }

    Gtk::Window window_;
    Gtk::MenuBar bar_;
    CustomMenu menu_{bar_};
    std::vector<std::string> chosen_;
};

TEST_F(CustomMenuTest, TheExampleMenuWithNamesAccessLettersAndAccessibleNames)
{
    Build(Example);
    EXPECT_EQ(Outline(bar_), "_Book(_Home=MENUx0_0 _Print=MENUx0_1 H_istory=MENUx0_2(_Back=MENUx0_2_0 "
                             "_Forward=MENUx0_2_1) _Exit=MENUx0_3) _Help(_About=MENUx1_0)");
    auto* book = dynamic_cast<Gtk::Label*>(Items(bar_).at(0)->get_child());
    ASSERT_NE(book, nullptr);
    EXPECT_EQ(book->get_mnemonic_keyval(), GDK_KEY_b);  // Alt+B opens Book
    EXPECT_STREQ(atk_object_get_name(gtk_widget_get_accessible(GTK_WIDGET(Item(0, 2)->gobj()))), "History");
}

TEST_F(CustomMenuTest, SeparatorsAtTheEndsOrDoubledAreHiddenButKeepTheirPlaces)
{
    Build("[GERAL]\nMENU_0=F\n[MENU]\nITENS_0=--@-Open-@---@---@-Exit-@--\n");
    EXPECT_EQ(Outline(bar_), "_F([-=MENUx0_0] _Open=MENUx0_1 -=MENUx0_2 [-=MENUx0_3] _Exit=MENUx0_4 [-=MENUx0_5])");
    menu_.ChangeItem({0, 1}, MenuItemChange::Delete, "");  // Open goes: the separators lead now
    EXPECT_EQ(Outline(bar_), "_F([-=MENUx0_0] [-=MENUx0_2] [-=MENUx0_3] _Exit=MENUx0_4 [-=MENUx0_5])");
}

TEST_F(CustomMenuTest, ChoosingAnItemAnnouncesItsNameUnlessItIsDisabled)
{
    Build(Example);
    Item(0, 1)->activate();                       // Print
    Item(0, 2)->activate();                       // History: a sub-menu, no action
    menu_.ChangeItem({0, 0}, MenuItemChange::Disable, "");
    Item(0, 0)->activate();                       // Home, disabled
    menu_.ChangeItem({0, 0}, MenuItemChange::Enable, "");
    Item(0, 0)->activate();
    EXPECT_EQ(chosen_, (std::vector<std::string>{"MENUx0_1", "MENUx0_0"}));
    EXPECT_FALSE(Item(1, 0)->get_submenu());
}

TEST_F(CustomMenuTest, AnItemWithSubItemsAnnouncesItselfEachTimeItsSubMenuOpens)
{
    Build(Example + "MENUx0_2=WEBREFRESH()\r\n");
    Open(Items(bar_).at(0));
    for (int time = 0; time < 2; ++time) {
        Open(Item(0, 2));
        Item(0, 2)->get_submenu()->popdown();
    }
    Item(0, 2)->activate();  // the click that opens it is not a second choice
    EXPECT_EQ(chosen_, (std::vector<std::string>{"MENUx0_2", "MENUx0_2"}));
    Items(bar_).at(0)->get_submenu()->popdown();

    Build(Example);
    Open(Items(bar_).at(0));
    Open(Item(0, 2));
    Item(0, 2)->get_submenu()->popdown();
    Items(bar_).at(0)->get_submenu()->popdown();
    EXPECT_EQ(chosen_.size(), 2u) << "History without an action announces nothing";
}

TEST_F(CustomMenuTest, CommandsReachItemsByTheirPositionNow)
{
    Build(Example);
    menu_.ChangeItem({0, 1}, MenuItemChange::Delete, "");  // Print
    menu_.ChangeItem({0, 1}, MenuItemChange::Delete, "");  // History, which stood after it
    menu_.ChangeItem({0, 1}, MenuItemChange::Rename, "Save_as && quit");
    EXPECT_EQ(Outline(bar_), "_Book(_Home=MENUx0_0 _Save__as & quit=MENUx0_3) _Help(_About=MENUx1_0)");
    Item(0, 1)->activate();  // the item keeps its own name, so its own action
    EXPECT_EQ(chosen_, std::vector<std::string>{"MENUx0_3"});

    // input -> the error that ends the action
    const std::pair<MenuAddress, const char*> failures[] = {
        {{0, 9}, "List index out of bounds (9)"},
        {{0, 0, 0}, "Menu index out of range"},
    };
    for (const auto& [address, text] : failures) {
        try {
            menu_.ChangeItem(address, MenuItemChange::Enable, "");
            ADD_FAILURE() << text;
        } catch (const Error& error) {
            EXPECT_STREQ(error.what(), text);
        }
    }
    EXPECT_THROW(menu_.ChangeItem({0, 2}, MenuItemChange::Delete, ""), Error);

    // An item that loses its last sub-item can be chosen again.
    Build(Example + "MENUx0_2=WEBREFRESH()\r\n");
    menu_.ChangeItem({0, 2, 0}, MenuItemChange::Delete, "");
    menu_.ChangeItem({0, 2, 0}, MenuItemChange::Delete, "");
    Item(0, 2)->activate();
    EXPECT_EQ(chosen_.back(), "MENUx0_2");
    // A caption of "-" makes a separator, and text makes it an item again.
    menu_.ChangeItem({0, 0}, MenuItemChange::Rename, "-");
    EXPECT_EQ(Outline(bar_), "_Book([-=MENUx0_0] _Print=MENUx0_1 _History=MENUx0_2 _Exit=MENUx0_3) _Help(_About=MENUx1_0)");
    menu_.ChangeItem({0, 0}, MenuItemChange::Rename, "Home");
    Item(0, 0)->activate();
    EXPECT_EQ(chosen_.back(), "MENUx0_0");
}

}  // namespace
}  // namespace quillora
