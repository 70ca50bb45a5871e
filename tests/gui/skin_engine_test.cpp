#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <climits>
#include <cstdint>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "appearance/skin_store.hpp"
#include "common/error.hpp"
#include "common/gobject_ptr.hpp"
#include "common/signal_connection.hpp"
#include "gui_test_support.hpp"
#include "window/skin_engine.hpp"
#include "window/toolkit_setup.hpp"

namespace quillora {
namespace {

using namespace std::chrono_literals;

// The window from the description, shown, with the bars a skin paints: tool bar (back and
// forward disabled as on a first page), status bar with the progress bar half way.
class SkinEngineTest : public testing::Test {
protected:
    void SetUp() override
    {
        PrepareToolkit();
        builder_ = GObjectPtr<GtkBuilder>::Adopt(gtk_builder_new_from_resource("/org/quillora/window.ui"));
        window_ = Widget("form_apresentacao");
        ASSERT_NE(window_, nullptr);
        GtkWidget* progress = Widget("progresso");
        gtk_progress_bar_set_fraction(GTK_PROGRESS_BAR(progress), 0.5);
        gtk_widget_show(progress);
        back_ = Widget("b_volta");
        gtk_widget_set_sensitive(back_, FALSE);
        gtk_widget_show(window_);
        Settle();
    }
    void TearDown() override
    {
        if (window_ != nullptr) {
            gtk_widget_destroy(window_);
        }
    }

    GtkWidget* Widget(const char* name) const { return GTK_WIDGET(gtk_builder_get_object(builder_.get(), name)); }

    // Waits until the style changes made so far have reached the widgets.
    void Settle() const { ASSERT_TRUE(test::RunUntilPainted(window_)); }

    // The pixels of `widget` as it is drawn now.
    static std::vector<std::uint8_t> Pixels(GtkWidget* widget)
    {
        const int width = gtk_widget_get_allocated_width(widget);
        const int height = gtk_widget_get_allocated_height(widget);
        EXPECT_GT(width * height, 0) << gtk_widget_get_name(widget);
        cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
        cairo_t* cr = cairo_create(surface);
        gtk_widget_draw(widget, cr);
        cairo_destroy(cr);
        cairo_surface_flush(surface);
        const unsigned char* data = cairo_image_surface_get_data(surface);
        std::vector<std::uint8_t> pixels(data, data + cairo_image_surface_get_stride(surface) * height);
        cairo_surface_destroy(surface);
        return pixels;
    }

    // The tool bar and the status bar as they are drawn now.
    std::vector<std::uint8_t> Bars()
    {
        Settle();
        std::vector<std::uint8_t> pixels;
        for (const char* name : {"toolbar", "barra_estado"}) {
            const std::vector<std::uint8_t> part = Pixels(Widget(name));
            pixels.insert(pixels.end(), part.begin(), part.end());
        }
        return pixels;
    }

    GObjectPtr<GtkBuilder> builder_;
    GtkWidget* window_ = nullptr;  // a toplevel: GTK keeps it until it is destroyed
    GtkWidget* back_ = nullptr;
};

// Line `line` (from 0) of a loaded sheet with its number from 1, for the failure messages: the
// looks make the line numbers differ from those of the skin's own file, the text finds the place.
std::string LineOfSheet(const std::string& sheet, int line)
{
    size_t start = 0;
    for (int skipped = 0; skipped < line && start != std::string::npos; ++skipped) {
        start = sheet.find('\n', start);
        start = start == std::string::npos ? start : start + 1;
    }
    const std::string text = start == std::string::npos ? "" : sheet.substr(start, sheet.find('\n', start) - start);
    return "loaded sheet line " + std::to_string(line + 1) + " \"" + text + "\"";
}

// Each skin as the engine loads it: its palette, the shared rules, its own rules and looks.
TEST(StoredSkins, EverySheetParsesWithoutErrorAndDefinesEveryColourItUses)
{
    PrepareToolkit();
    const std::regex definition(R"(@define-color\s+([A-Za-z0-9_-]+))");
    const std::regex use(R"(@([A-Za-z0-9_-]+))");
    for (const StoredSkin& skin : StoredSkins()) {
        SCOPED_TRACE(std::string(skin.resource_path));
        // Every look the skin asks for must be in the resources.
        std::string text;
        try {
            text = StoredSkinSheet(skin);
        } catch (const Error& error) {
            ADD_FAILURE() << error.what();
            continue;
        }
        std::vector<std::string> errors;
        const auto sheet = GObjectPtr<GtkCssProvider>::Adopt(gtk_css_provider_new());
        const SignalConnection parsing_error = Connect<void(GtkCssProvider*, GtkCssSection*, GError*)>(
            sheet.get(), "parsing-error", [&](GtkCssProvider*, GtkCssSection* section, GError* error) {
                errors.push_back(LineOfSheet(text, static_cast<int>(gtk_css_section_get_start_line(section))) + ": " +
                                 error->message);
            });
        GError* raw_error = nullptr;
        if (!gtk_css_provider_load_from_data(sheet.get(), text.data(), static_cast<gssize>(text.size()), &raw_error)) {
            const GErrorPtr error(raw_error);
            ADD_FAILURE() << error->message;
        }
        EXPECT_EQ(errors, std::vector<std::string>{});

        // A misspelt colour name is no parse error; it only shows as a wrong colour.
        std::set<std::string> defined;
        for (std::sregex_iterator it(text.begin(), text.end(), definition), end; it != end; ++it) {
            defined.insert((*it)[1]);
        }
        for (std::sregex_iterator it(text.begin(), text.end(), use), end; it != end; ++it) {
            const std::string name = (*it)[1];
            if (name != "define-color") {
                EXPECT_TRUE(defined.contains(name)) << "@" << name << " is not defined";
            }
        }
    }
}

TEST_F(SkinEngineTest, EachSkinPaintsTheBarsItsOwnWay)
{
    const std::vector<std::uint8_t> base = Bars();
    SkinEngine engine;
    engine.SwitchOn();
    std::map<std::vector<std::uint8_t>, int> seen;
    for (int index = 0; index < engine.Count(); ++index) {
        engine.LoadSkin(index);
        const std::vector<std::uint8_t> skinned = Bars();
        EXPECT_NE(skinned, base) << "skin " << index << " leaves the bars as they were";
        const auto [previous, fresh] = seen.emplace(skinned, index);
        EXPECT_TRUE(fresh) << "skins " << previous->second << " and " << index << " look the same";
    }
    EXPECT_EQ(engine.Count(), 16);
}

TEST_F(SkinEngineTest, LoadSelectsAStoredSkinOrNone)
{
    SkinEngine engine;
    EXPECT_FALSE(engine.Active());
    EXPECT_EQ(engine.LoadedSkin(), -1);

    // index -> loaded skin
    const std::pair<int, int> cases[] = {{0, 0}, {15, 15}, {16, -1}, {7, 7}, {INT_MAX, -1}};
    for (const auto& [index, loaded] : cases) {
        engine.LoadSkin(index);
        EXPECT_EQ(engine.LoadedSkin(), loaded) << "LoadSkin(" << index << ")";
    }

    // A negative index fails and keeps what was loaded.
    engine.LoadSkin(3);
    try {
        engine.LoadSkin(-1);
        ADD_FAILURE() << "LoadSkin(-1) did not fail";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "List index out of bounds (-1)");
    }
    EXPECT_EQ(engine.LoadedSkin(), 3);
    EXPECT_FALSE(engine.Active());
}

TEST_F(SkinEngineTest, NoSkinLoadedStillSwitchesOnButDrawsNothingNew)
{
    const std::vector<std::uint8_t> base = Bars();
    SkinEngine engine;
    engine.LoadSkin(16);
    engine.SwitchOn();
    EXPECT_TRUE(engine.Active());
    EXPECT_EQ(engine.LoadedSkin(), -1);
    EXPECT_EQ(Bars(), base);

    // Loading a skin while on shows it at once; loading none again takes it away.
    engine.LoadSkin(2);
    EXPECT_NE(Bars(), base);
    engine.LoadSkin(16);
    EXPECT_EQ(Bars(), base);
}

TEST_F(SkinEngineTest, SwitchingOnTwiceInstallsTheSkinOnce)
{
    const std::vector<std::uint8_t> base = Bars();
    {
        SkinEngine engine;
        engine.LoadSkin(5);
        EXPECT_EQ(Bars(), base) << "a loaded skin shows only once the engine is on";
        engine.SwitchOn();
        const std::vector<std::uint8_t> skinned = Bars();
        engine.SwitchOn();
        EXPECT_EQ(Bars(), skinned);
        // One switch-off removes it: a second copy would keep the bars skinned.
        engine.SwitchOff();
        EXPECT_FALSE(engine.Active());
        EXPECT_EQ(engine.LoadedSkin(), 5);
        EXPECT_EQ(Bars(), base);
        engine.SwitchOn();
        EXPECT_EQ(Bars(), skinned);
    }
    // The engine takes its skin away when it goes.
    EXPECT_EQ(Bars(), base);
}

TEST_F(SkinEngineTest, DisabledButtonsLookDisabledInEverySkin)
{
    SkinEngine engine;
    engine.SwitchOn();
    for (int index = 0; index < engine.Count(); ++index) {
        engine.LoadSkin(index);
        // The same button, once usable and once not, must not be drawn alike.
        gtk_widget_set_sensitive(back_, TRUE);
        Settle();
        const std::vector<std::uint8_t> enabled = Pixels(back_);
        gtk_widget_set_sensitive(back_, FALSE);
        Settle();
        EXPECT_NE(Pixels(back_), enabled) << "skin " << index;
    }
}

// A skin changes how the bars look, never how much room they take: the buttons stay 36 x 30
// (plus their margins), the separators 8 wide, the status bar as high as without a skin.
TEST_F(SkinEngineTest, SkinsKeepTheSizesOfTheBars)
{
    using Sizes = std::map<std::string, std::pair<int, int>>;
    const auto measure = [this] {
        Settle();
        Sizes sizes;
        for (const char* name :
             {"b_home", "sep1", "b_volta", "b_about", "toolbar", "barra_estado", "barra_estado_panel0", "progresso"}) {
            GtkWidget* widget = Widget(name);
            sizes[name] = {gtk_widget_get_allocated_width(widget), gtk_widget_get_allocated_height(widget)};
        }
        return sizes;
    };
    const Sizes base = measure();
    EXPECT_EQ(base.at("sep1").first, 8);
    SkinEngine engine;
    engine.SwitchOn();
    for (int index = 0; index < engine.Count(); ++index) {
        engine.LoadSkin(index);
        EXPECT_EQ(measure(), base) << "skin " << index;
    }
}

}  // namespace
}  // namespace quillora
