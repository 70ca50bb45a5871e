#include "window/about_box.hpp"

#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <functional>
#include <stdexcept>
#include <string>

#include "appearance/kept_settings.hpp"
#include "gui_test_support.hpp"
#include "window/toolkit_setup.hpp"

// Last: X11 defines names that other headers use.

namespace quillora {
namespace {

using namespace std::chrono_literals;

using test::FindByName;

class AboutBoxTest : public testing::Test {
protected:
    void SetUp() override
    {
        PrepareToolkit();
        gtk_window_set_title(parent.get(), "Atlas");
        gtk_widget_show(parent.widget());
    }

    // Shows the box and hands it to `inspect` once it is on the screen; `inspect` must close it.
    // Returns whether ShowModal came back after `inspect` ran.
    bool ShowAndInspect(const std::function<void(GtkDialog*)>& inspect)
    {
        bool inspected = false;
        MainLoopSource watch = AddTimeout(20ms, [&] {
            GtkDialog* dialog = box.Showing();
            if (dialog == nullptr || !gtk_widget_get_mapped(GTK_WIDGET(dialog))) return true;
            inspected = true;
            inspect(dialog);
            return false;
        });
        // A box that does not close would hold the test for ever: close it after a long while.
        MainLoopSource rescue = AddTimeout(60s, [&] {
            ADD_FAILURE() << "the about box did not close";
            if (box.Showing() != nullptr) gtk_dialog_response(box.Showing(), GTK_RESPONSE_DELETE_EVENT);
        });
        box.ShowModal("Atlas");
        return inspected && box.Showing() == nullptr;
    }

    // The part of the box named `name`.
    static GtkWidget* Part(GtkDialog* dialog, const std::string& name)
    {
        GtkWidget* part = FindByName(GTK_WIDGET(dialog), name);
        if (part == nullptr) throw std::runtime_error("no part " + name);
        return part;
    }
    static std::string LabelText(GtkDialog* dialog, const std::string& name)
    {
        return gtk_label_get_text(GTK_LABEL(Part(dialog, name)));
    }

    test::TestWindow parent;
    AboutBox box{parent.get()};
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

    EXPECT_TRUE(ShowAndInspect([&](GtkDialog* dialog) {
        // empty caption -> "Info " + title + "..."; its name is what assistive technologies read
        EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(dialog)), "Info Atlas...");
        EXPECT_EQ(gtk_window_get_transient_for(GTK_WINDOW(dialog)), parent.get());
        EXPECT_TRUE(gtk_window_get_modal(GTK_WINDOW(dialog)));
        EXPECT_EQ(LabelText(dialog, "Sobre_appname"), "Atlas of the North");
        EXPECT_EQ(LabelText(dialog, "Sobre_version"), "Edition 1.0");
        // the empty line between texts stays, the break after the last line adds none
        EXPECT_EQ(LabelText(dialog, "Sobre_description"), "Fjords and lights.\n\nA sample e-book.");
        // a bare "©" -> no copyright line
        EXPECT_FALSE(gtk_widget_get_visible(Part(dialog, "Sobre_copyright")));
        // "@" -> mailto:
        GtkWidget* email = Part(dialog, "Sobre_email");
        EXPECT_TRUE(gtk_widget_get_visible(email));
        EXPECT_STREQ(gtk_link_button_get_uri(GTK_LINK_BUTTON(email)), "mailto:atlas@example.org");
        AtkObject* accessible = gtk_widget_get_accessible(email);
        EXPECT_EQ(atk_object_get_role(accessible), ATK_ROLE_LINK);
        EXPECT_STREQ(atk_object_get_name(accessible), "atlas@example.org");
        // no program for the scheme -> shown, but disabled
        GtkWidget* jump = Part(dialog, "Sobre_jump");
        EXPECT_TRUE(gtk_widget_get_visible(jump));
        EXPECT_FALSE(gtk_widget_get_sensitive(jump));
        // OK has the focus, so that no selectable text starts selected
        GtkWidget* ok = Part(dialog, "Sobre_ok");
        EXPECT_EQ(gtk_window_get_focus(GTK_WINDOW(dialog)), ok);
        gtk_button_clicked(GTK_BUTTON(ok));
    }));
}

TEST_F(AboutBoxTest, EmptyTextsAreLeftOutAndTheNameFallsBackOnTheTitle)
{
    box.Fields().CaptionTitle = "About";
    box.Fields().Appname = "";  // every other field starts empty too

    EXPECT_TRUE(ShowAndInspect([&](GtkDialog* dialog) {
        EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(dialog)), "About");
        EXPECT_EQ(LabelText(dialog, "Sobre_appname"), "Atlas");
        for (const char* hidden :
             {"Sobre_version", "Sobre_description", "Sobre_copyright", "Sobre_jump", "Sobre_email"}) {
            EXPECT_FALSE(gtk_widget_get_visible(Part(dialog, hidden))) << hidden;
        }
        gtk_dialog_response(dialog, GTK_RESPONSE_OK);
    }));
}

TEST_F(AboutBoxTest, ALinkThatFailsToOpenIsDisabled)
{
    // a file address: left to the click, which finds no such file -> the link is disabled
    box.Fields().Jump = "file:///nonexistent-quillora-folder/about.html";
    EXPECT_TRUE(ShowAndInspect([&](GtkDialog* dialog) {
        GtkWidget* jump = Part(dialog, "Sobre_jump");
        EXPECT_TRUE(gtk_widget_get_sensitive(jump));
        gtk_button_clicked(GTK_BUTTON(jump));
        EXPECT_FALSE(gtk_widget_get_sensitive(jump));
        gtk_dialog_response(dialog, GTK_RESPONSE_OK);
    }));
}

TEST_F(AboutBoxTest, EnterAndEscapeCloseIt)
{
    box.Fields().Jump = "https://quillora.example.org";
    box.Fields().Description = "Selectable text.\n";
    // real key pressed while a text, not OK, has the focus -> the box closes
    for (const char* key : {"Return", "Escape"}) {
        EXPECT_TRUE(ShowAndInspect([&](GtkDialog* dialog) {
            gtk_widget_grab_focus(Part(dialog, "Sobre_description"));
            EXPECT_TRUE(test::Xdotool(gtk_widget_get_window(GTK_WIDGET(dialog)), std::string("key ") + key));
        })) << key;
    }
}

}  // namespace
}  // namespace quillora
