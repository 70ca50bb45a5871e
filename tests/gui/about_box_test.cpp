#include "window/about_box.hpp"

#include <gtest/gtest.h>
#include <glibmm/main.h>
#include <gtkmm/button.h>
#include <gtkmm/dialog.h>
#include <gtkmm/label.h>
#include <gtkmm/linkbutton.h>
#include <gtkmm/window.h>
#include <gtk/gtk.h>

#include <functional>
#include <string>

#include "gui_test_support.hpp"
#include "window/kept_settings.hpp"
#include "window/toolkit_setup.hpp"

// Last: X11 defines names that other headers use.

namespace quillora {
namespace {

// The box's parts carry their names as widget names.
Gtk::Widget* FindByName(Gtk::Widget& root, const std::string& name)
{
    if (root.get_name() == name) return &root;
    if (auto* container = dynamic_cast<Gtk::Container*>(&root)) {
        for (Gtk::Widget* child : container->get_children()) {
            if (Gtk::Widget* found = FindByName(*child, name)) return found;
        }
    }
    return nullptr;
}

class AboutBoxTest : public testing::Test {
protected:
    void SetUp() override
    {
        PrepareToolkit();
        parent.set_title("Atlas");
        parent.show();
    }

    // Shows the box and hands it to `inspect` once it is on the screen; `inspect` must close it.
    // Returns whether ShowModal came back after `inspect` ran.
    bool ShowAndInspect(const std::function<void(Gtk::Dialog&)>& inspect)
    {
        bool inspected = false;
        auto watch = Glib::signal_timeout().connect(
            [&] {
                Gtk::Dialog* dialog = box.Showing();
                if (dialog == nullptr || !dialog->get_mapped()) return true;
                inspected = true;
                inspect(*dialog);
                return false;
            },
            20);
        // A box that does not close would hold the test for ever: close it after a long while.
        auto rescue = Glib::signal_timeout().connect(
            [&] {
                ADD_FAILURE() << "the about box did not close";
                if (box.Showing() != nullptr) box.Showing()->response(Gtk::RESPONSE_DELETE_EVENT);
                return false;
            },
            60000);
        box.ShowModal("Atlas");
        const bool closed_after_inspection = inspected;
        rescue.disconnect();
        watch.disconnect();
        return closed_after_inspection && box.Showing() == nullptr;
    }

    template <typename T>
    T& Part(Gtk::Dialog& dialog, const std::string& name)
    {
        auto* part = dynamic_cast<T*>(FindByName(dialog, name));
        if (part == nullptr) throw std::runtime_error("no part " + name);
        return *part;
    }

    Gtk::Window parent;
    AboutBox box{parent};
};

TEST_F(AboutBoxTest, ShowsTheKeptTextsAndOkClosesIt)
{
    KeptSettings kept;
    kept.about_app_name = "Atlas of the North";
    kept.about_version = "Edition 1.0";
    kept.about_description = "Fjords and lights.<!><!>A sample e-book.<!>";
    kept.about_copyright = "\xC2\xA9";
    kept.about_web_address = "quillora-nowhere:atlas";
    kept.about_email = "atlas@example.org";
    kept.about_app_name_size = "20";
    FillAboutFields(box.Fields(), kept);

    EXPECT_TRUE(ShowAndInspect([&](Gtk::Dialog& dialog) {
        // empty caption -> "Info " + title + "..."; its name is what assistive technologies read
        EXPECT_EQ(dialog.get_title(), "Info Atlas...");
        EXPECT_EQ(dialog.get_transient_for(), &parent);
        EXPECT_TRUE(dialog.get_modal());
        EXPECT_EQ(Part<Gtk::Label>(dialog, "Sobre_appname").get_text(), "Atlas of the North");
        EXPECT_EQ(Part<Gtk::Label>(dialog, "Sobre_version").get_text(), "Edition 1.0");
        // the empty line between texts stays, the break after the last line adds none
        EXPECT_EQ(Part<Gtk::Label>(dialog, "Sobre_description").get_text(),
                  "Fjords and lights.\n\nA sample e-book.");
        // a bare "©" -> no copyright line
        EXPECT_FALSE(Part<Gtk::Label>(dialog, "Sobre_copyright").get_visible());
        // "@" -> mailto:
        auto& email = Part<Gtk::LinkButton>(dialog, "Sobre_email");
        EXPECT_TRUE(email.get_visible());
        EXPECT_EQ(email.get_uri(), "mailto:atlas@example.org");
        AtkObject* accessible = gtk_widget_get_accessible(GTK_WIDGET(email.gobj()));
        EXPECT_EQ(atk_object_get_role(accessible), ATK_ROLE_LINK);
        EXPECT_STREQ(atk_object_get_name(accessible), "atlas@example.org");
        // no program for the scheme -> shown, but disabled
        auto& jump = Part<Gtk::LinkButton>(dialog, "Sobre_jump");
        EXPECT_TRUE(jump.get_visible());
        EXPECT_FALSE(jump.get_sensitive());
        // OK has the focus, so that no selectable text starts selected
        auto& ok = Part<Gtk::Button>(dialog, "Sobre_ok");
        EXPECT_EQ(dialog.get_focus(), &ok);
        ok.clicked();
    }));
}

TEST_F(AboutBoxTest, EmptyTextsAreLeftOutAndTheNameFallsBackOnTheTitle)
{
    box.Fields().CaptionTitle = "About";
    box.Fields().Appname = "";  // every other field starts empty too

    EXPECT_TRUE(ShowAndInspect([&](Gtk::Dialog& dialog) {
        EXPECT_EQ(dialog.get_title(), "About");
        EXPECT_EQ(Part<Gtk::Label>(dialog, "Sobre_appname").get_text(), "Atlas");
        for (const char* hidden : {"Sobre_version", "Sobre_description", "Sobre_copyright",
                                   "Sobre_jump", "Sobre_email"}) {
            EXPECT_FALSE(FindByName(dialog, hidden)->get_visible()) << hidden;
        }
        dialog.response(Gtk::RESPONSE_OK);
    }));
}

TEST_F(AboutBoxTest, ALinkThatFailsToOpenIsDisabled)
{
    // a file address: left to the click, which finds no such file -> the link is disabled
    box.Fields().Jump = "file:///nonexistent-quillora-folder/about.html";
    EXPECT_TRUE(ShowAndInspect([&](Gtk::Dialog& dialog) {
        auto& jump = Part<Gtk::LinkButton>(dialog, "Sobre_jump");
        EXPECT_TRUE(jump.get_sensitive());
        jump.clicked();
        EXPECT_FALSE(jump.get_sensitive());
        dialog.response(Gtk::RESPONSE_OK);
    }));
}

TEST_F(AboutBoxTest, EnterAndEscapeCloseIt)
{
    box.Fields().Jump = "https://quillora.example.org";
    box.Fields().Description = "Selectable text.\n";
    // real key pressed while a text, not OK, has the focus -> the box closes
    for (const char* key : {"Return", "Escape"}) {
        EXPECT_TRUE(ShowAndInspect([&](Gtk::Dialog& dialog) {
            Part<Gtk::Label>(dialog, "Sobre_description").grab_focus();
            EXPECT_TRUE(test::Xdotool(dialog.get_window()->gobj(), std::string("key ") + key));
        })) << key;
    }
}

}  // namespace
}  // namespace quillora
