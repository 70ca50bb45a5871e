// The custom menu on a menu bar of its own: the tree built from a definition, which items
// announce themselves when chosen or opened, and the menu commands by position.

#include "window/custom_menu.hpp"

#include <atk/atk.h>
#include <gtk/gtk.h>

#include "common/error.hpp"
#include "gui_test_support.hpp"

namespace quillora {
namespace {

const std::string Example = "[GERAL]\r\nMENU_0=&Book\r\nMENU_1=&Help\r\n"
                            "[MENU]\r\nITENS_0=Home-@-Print-@-History-@-Exit\r\nITENS_1=About\r\n"
                            "[SUBMENUS]\r\nITENS-|0.2|=Back-@-Forward\r\n"
                            "[ACOES]\r\nMENUx0_0=WEBHOME()\r\nMENUx0_1=WEBPRINTPAGE()\r\nMENUx0_2_0=WEBBACK()\r\n"
                            "MENUx0_2_1=WEBNEXT()\r\nMENUx0_3=APPLICATIONEXIT()\r\nMENUx1_0=SHOWFORMABOUT()\r\n";

class CustomMenuTest : public testing::Test {
protected:
    void SetUp() override
    {
        gtk_container_add(GTK_CONTAINER(window_.get()), bar_);
        gtk_widget_show_all(window_.widget());
        chosen_watch_ =
            menu_.signal_item_chosen().Connect([this](const std::string& name) { chosen_.push_back(name); });
    }

    void Build(const std::string& definition) { menu_.Build(BuildMenuModel(ProfileText::Parse(definition))); }

    static std::vector<GtkMenuItem*> Items(GtkWidget* shell)
    {
        std::vector<GtkMenuItem*> items;
        for (GtkWidget* child : ChildrenOf(shell)) items.push_back(GTK_MENU_ITEM(child));
        return items;
    }
    static GtkWidget* Submenu(GtkMenuItem* item) { return gtk_menu_item_get_submenu(item); }
    // Opens the item's sub-menu as the menu does when the pointer rests on the item.
    static void Open(GtkMenuItem* item)
    {
        gtk_menu_popup_at_widget(GTK_MENU(Submenu(item)), GTK_WIDGET(item), GDK_GRAVITY_NORTH_EAST,
                                 GDK_GRAVITY_NORTH_WEST, nullptr);
    }
    static void Close(GtkMenuItem* item) { gtk_menu_popdown(GTK_MENU(Submenu(item))); }
    static void Activate(GtkMenuItem* item) { gtk_menu_item_activate(item); }
    GtkMenuItem* Item(std::size_t menu, std::size_t item) { return Items(Submenu(Items(bar_).at(menu))).at(item); }

    // The tree as one line: shown label and widget name, hidden entries in [], children in ().
    static std::string Outline(GtkWidget* shell)
    {
        std::string text;
        for (GtkMenuItem* item : Items(shell)) {
            const std::string name = gtk_widget_get_name(GTK_WIDGET(item));
            std::string entry = GTK_IS_SEPARATOR_MENU_ITEM(item) ? "-" : gtk_menu_item_get_label(item);
            if (name.substr(0, 5) == "MENUx") {
                entry += "=" + name;
            }
            if (!gtk_widget_get_visible(GTK_WIDGET(item))) {
                entry = "[" + entry + "]";
            }
            if (GtkWidget* submenu = Submenu(item)) {
                entry += "(" + Outline(submenu) + ")";
            }
            text += (text.empty() ? "" : " ") + entry;
        }
        return text;
    }

    test::TestWindow window_;
    GtkWidget* bar_ = gtk_menu_bar_new();  // owned by the window once added
    CustomMenu menu_{GTK_MENU_BAR(bar_)};
    std::vector<std::string> chosen_;
    EventConnection chosen_watch_;
};

TEST_F(CustomMenuTest, TheExampleMenuWithNamesAccessLettersAndAccessibleNames)
{
    Build(Example);
    EXPECT_EQ(Outline(bar_), "_Book(_Home=MENUx0_0 _Print=MENUx0_1 H_istory=MENUx0_2(_Back=MENUx0_2_0 "
                             "_Forward=MENUx0_2_1) _Exit=MENUx0_3) _Help(_About=MENUx1_0)");
    GtkWidget* book = gtk_bin_get_child(GTK_BIN(Items(bar_).at(0)));
    ASSERT_TRUE(GTK_IS_LABEL(book));
    EXPECT_EQ(gtk_label_get_mnemonic_keyval(GTK_LABEL(book)), GDK_KEY_b);  // Alt+B opens Book
    EXPECT_STREQ(atk_object_get_name(gtk_widget_get_accessible(GTK_WIDGET(Item(0, 2)))), "History");
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
    Activate(Item(0, 1));  // Print
    Activate(Item(0, 2));  // History: a sub-menu, no action
    menu_.ChangeItem({0, 0}, MenuItemChange::Disable, "");
    Activate(Item(0, 0));  // Home, disabled
    menu_.ChangeItem({0, 0}, MenuItemChange::Enable, "");
    Activate(Item(0, 0));
    EXPECT_EQ(chosen_, (std::vector<std::string>{"MENUx0_1", "MENUx0_0"}));
    EXPECT_FALSE(Submenu(Item(1, 0)));
}

TEST_F(CustomMenuTest, AnItemWithSubItemsAnnouncesItselfEachTimeItsSubMenuOpens)
{
    Build(Example + "MENUx0_2=WEBREFRESH()\r\n");
    Open(Items(bar_).at(0));
    for (int time = 0; time < 2; ++time) {
        Open(Item(0, 2));
        Close(Item(0, 2));
    }
    Activate(Item(0, 2));  // the click that opens it is not a second choice
    EXPECT_EQ(chosen_, (std::vector<std::string>{"MENUx0_2", "MENUx0_2"}));
    Close(Items(bar_).at(0));

    Build(Example);
    Open(Items(bar_).at(0));
    Open(Item(0, 2));
    Close(Item(0, 2));
    Close(Items(bar_).at(0));
    EXPECT_EQ(chosen_.size(), 2u) << "History without an action announces nothing";
}

TEST_F(CustomMenuTest, CommandsReachItemsByTheirPositionNow)
{
    Build(Example);
    menu_.ChangeItem({0, 1}, MenuItemChange::Delete, "");  // Print
    menu_.ChangeItem({0, 1}, MenuItemChange::Delete, "");  // History, which stood after it
    menu_.ChangeItem({0, 1}, MenuItemChange::Rename, "Save_as && quit");
    EXPECT_EQ(Outline(bar_), "_Book(_Home=MENUx0_0 _Save__as & quit=MENUx0_3) _Help(_About=MENUx1_0)");
    Activate(Item(0, 1));  // the item keeps its own name, so its own action
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
    Activate(Item(0, 2));
    EXPECT_EQ(chosen_.back(), "MENUx0_2");
    // A caption of "-" makes a separator, and text makes it an item again.
    menu_.ChangeItem({0, 0}, MenuItemChange::Rename, "-");
    EXPECT_EQ(Outline(bar_),
              "_Book([-=MENUx0_0] _Print=MENUx0_1 _History=MENUx0_2 _Exit=MENUx0_3) _Help(_About=MENUx1_0)");
    menu_.ChangeItem({0, 0}, MenuItemChange::Rename, "Home");
    Activate(Item(0, 0));
    EXPECT_EQ(chosen_.back(), "MENUx0_0");
}

TEST(CustomMenuBar, TakesRoomOnlyWhileItHasMenusAndSoDoesItsScroller)
{
    test::TestWindow window;
    GtkWidget* scroller = gtk_scrolled_window_new(nullptr, nullptr);
    GtkWidget* bar = gtk_menu_bar_new();
    gtk_container_add(GTK_CONTAINER(scroller), bar);
    gtk_container_add(GTK_CONTAINER(window.get()), scroller);
    gtk_widget_show_all(window.widget());
    CustomMenu menu(GTK_MENU_BAR(bar));
    // definition -> the bar and its scroller shown; a menu that goes hides them again
    const std::pair<std::string, bool> cases[] = {{"[GERAL]\r\n", false}, {Example, true}, {"[GERAL]\r\n", false}};
    for (const auto& [definition, shown] : cases) {
        menu.Build(BuildMenuModel(ProfileText::Parse(definition)));
        EXPECT_EQ(gtk_widget_get_visible(bar) != FALSE, shown) << definition;
        EXPECT_EQ(gtk_widget_get_visible(scroller) != FALSE, shown) << definition;
    }
}

}  // namespace
}  // namespace quillora
