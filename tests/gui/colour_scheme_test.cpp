#include <gtest/gtest.h>

#include <optional>

#include "book_window_test.hpp"
#include "payload/setting_index.hpp"
#include "support/settings_portal.hpp"
#include "webview/web_browser.hpp"

namespace quillora {
namespace {

using test::PrivateSessionBus;
using test::RunUntil;
using test::SettingsPortal;

// A page that offers a dark style, and one that does not.
const std::string DarkStyled =
    test::Page("Styled", "<style>html,body{margin:0;height:100%;background:#fff}"
                         "@media (prefers-color-scheme: dark){html,body{background:#000}}</style>");
const std::string Unstyled = test::Page("Plain", "<style>html,body{margin:0;height:100%}</style>");

class ColourSchemeTest : public test::BookWindowTest {
protected:
    // The mean brightness (0-255) of `widget` on screen.
    double Brightness(GtkWidget* widget) const
    {
        int x = 0;
        int y = 0;
        gtk_widget_translate_coordinates(widget, window->Widget(), 0, 0, &x, &y);
        const int width = gtk_widget_get_allocated_width(widget);
        const int height = gtk_widget_get_allocated_height(widget);
        const auto shot = GObjectPtr<GdkPixbuf>::Adopt(
            gdk_pixbuf_get_from_window(gtk_widget_get_window(window->Widget()), x, y, width, height));
        if (!shot) return -1;
        const guint8* pixels = gdk_pixbuf_get_pixels(shot.get());
        const int channels = gdk_pixbuf_get_n_channels(shot.get());
        double sum = 0;
        for (int row = 0; row < height; ++row) {
            const guint8* p = pixels + row * gdk_pixbuf_get_rowstride(shot.get());
            for (int column = 0; column < width; ++column, p += channels) sum += (p[0] + p[1] + p[2]) / 3.0;
        }
        return sum / (width * height);
    }
    GtkWidget* ToolBar() const { return test::FindByName(window->Widget(), "toolbar"); }
    GtkWidget* Page() const { return GTK_WIDGET(window->Web().View()); }
    bool Dark(GtkWidget* widget) const { return Brightness(widget) >= 0 && Brightness(widget) < 100; }
    bool Light(GtkWidget* widget) const { return Brightness(widget) > 180; }
    static bool DarkVariant()
    {
        gboolean dark = FALSE;
        g_object_get(gtk_settings_get_default(), "gtk-application-prefer-dark-theme", &dark, nullptr);
        return dark != FALSE;
    }
    bool LoadPage(const std::string& name)
    {
        const std::size_t before = loaded.size();
        window->Web().Navigate("file://" + Folder() + "pages/" + name);
        return RunUntil([&] { return loaded.size() > before; });
    }

    // Outlives the window, which the fixture closes first.
    PrivateSessionBus bus;
};

TEST_F(ColourSchemeTest, WithoutASkinTheWindowAndThePagesDarkStylesFollowTheReaderWhilePlainPagesStayAsMade)
{
    SettingsPortal portal(bus, 1);
    ASSERT_TRUE(Start({{"index.html", DarkStyled}, {"plain.html", Unstyled}}));
    ASSERT_TRUE(RunUntil([&] { return Dark(ToolBar()) && Dark(Page()); }))
        << "tool bar " << Brightness(ToolBar()) << ", page " << Brightness(Page());
    EXPECT_EQ(Script("return String(matchMedia('(prefers-color-scheme: dark)').matches)"), "true");

    ASSERT_TRUE(LoadPage("plain.html"));
    EXPECT_TRUE(RunUntil([&] { return Light(Page()); })) << "nothing is inverted: " << Brightness(Page());
    EXPECT_TRUE(Dark(ToolBar()));

    // The reader switches to light while the book is open.
    portal.Change(2);
    ASSERT_TRUE(LoadPage("index.html"));
    EXPECT_TRUE(RunUntil([&] { return Light(ToolBar()) && Light(Page()); }))
        << "tool bar " << Brightness(ToolBar()) << ", page " << Brightness(Page());

    window.reset();
    EXPECT_FALSE(DarkVariant()) << "the toolkit's own choice is back";
}

TEST_F(ColourSchemeTest, AnAuthorsSkinIsNotOverriddenByTheReadersPreference)
{
    SettingsPortal portal(bus, 1);
    settings[setting::skin_on] = "1";
    ASSERT_TRUE(Start({{"index.html", DarkStyled}}));
    EXPECT_FALSE(RunUntil([&] { return portal.Reads() > 0 || DarkVariant(); }, std::chrono::seconds(2)))
        << "the portal was asked";
    EXPECT_TRUE(Light(Page())) << Brightness(Page());
}

}  // namespace
}  // namespace quillora
