#include <cairomm/context.h>
#include <cairomm/surface.h>
#include <gtest/gtest.h>
#include <gtkmm/builder.h>
#include <gtkmm/cssprovider.h>
#include <gtkmm/progressbar.h>
#include <gtkmm/window.h>

#include <climits>
#include <cstdint>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "common/error.hpp"
#include "gui_test_support.hpp"
#include "window/skin_engine.hpp"
#include "window/skin_store.hpp"
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
        builder_ = Gtk::Builder::create_from_resource("/org/quillora/window.ui");
        builder_->get_widget("form_apresentacao", window_);
        ASSERT_NE(window_, nullptr);
        Gtk::ProgressBar* progress = nullptr;
        builder_->get_widget("progresso", progress);
        progress->set_fraction(0.5);
        progress->show();
        builder_->get_widget("b_volta", back_);
        back_->set_sensitive(false);
        window_->show();
        Settle();
    }
    void TearDown() override
    {
        if (window_ != nullptr) {
            window_->hide();
            delete window_;
        }
    }

    // Lets the style changes reach the widgets.
    static void Settle() { test::RunFor(60ms); }

    // The pixels of `widget` as it is drawn now.
    static std::vector<std::uint8_t> Pixels(Gtk::Widget& widget)
    {
        const int width = widget.get_allocated_width();
        const int height = widget.get_allocated_height();
        EXPECT_GT(width * height, 0) << widget.get_name();
        const auto surface = Cairo::ImageSurface::create(Cairo::FORMAT_ARGB32, width, height);
        gtk_widget_draw(widget.gobj(), Cairo::Context::create(surface)->cobj());
        surface->flush();
        const unsigned char* data = surface->get_data();
        return std::vector<std::uint8_t>(data, data + surface->get_stride() * height);
    }

    // The tool bar and the status bar as they are drawn now.
    std::vector<std::uint8_t> Bars()
    {
        Settle();
        std::vector<std::uint8_t> pixels;
        for (const char* name : {"toolbar", "barra_estado"}) {
            Gtk::Widget* widget = nullptr;
            builder_->get_widget(name, widget);
            const std::vector<std::uint8_t> part = Pixels(*widget);
            pixels.insert(pixels.end(), part.begin(), part.end());
        }
        return pixels;
    }

    Glib::RefPtr<Gtk::Builder> builder_;
    Gtk::Window* window_ = nullptr;
    Gtk::Widget* back_ = nullptr;
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
    const std::string text =
        start == std::string::npos ? "" : sheet.substr(start, sheet.find('\n', start) - start);
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
        const auto sheet = Gtk::CssProvider::create();
        sheet->signal_parsing_error().connect(
            [&](const Glib::RefPtr<const Gtk::CssSection>& section, const Glib::Error& error) {
                errors.push_back(LineOfSheet(text, static_cast<int>(section->get_start_line())) +
                                 ": " + error.what());
            });
        try {
            sheet->load_from_data(text);
        } catch (const Glib::Error& error) {
            ADD_FAILURE() << error.what();
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
        back_->set_sensitive(true);
        Settle();
        const std::vector<std::uint8_t> enabled = Pixels(*back_);
        back_->set_sensitive(false);
        Settle();
        EXPECT_NE(Pixels(*back_), enabled) << "skin " << index;
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
        for (const char* name : {"b_home", "sep1", "b_volta", "b_about", "toolbar", "barra_estado",
                                 "barra_estado_panel0", "progresso"}) {
            Gtk::Widget* widget = nullptr;
            builder_->get_widget(name, widget);
            sizes[name] = {widget->get_allocated_width(), widget->get_allocated_height()};
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
