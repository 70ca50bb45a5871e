#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "appearance/colour_scheme.hpp"
#include "appearance/desktop_colour_scheme.hpp"
#include "support/run_until.hpp"
#include "support/settings_portal.hpp"

namespace quillora {
namespace {

using test::PrivateSessionBus;
using test::RunUntil;
using test::SettingsPortal;
constexpr auto Dark = ColourScheme::PreferDark;
constexpr auto Light = ColourScheme::PreferLight;
constexpr auto None = ColourScheme::NoPreference;

TEST(ColourScheme, TheDesktopsValuesMeanTheirPreference)
{
    EXPECT_EQ(ColourSchemeFromPortal(0), None);
    EXPECT_EQ(ColourSchemeFromPortal(1), Dark);
    EXPECT_EQ(ColourSchemeFromPortal(2), Light);
    EXPECT_EQ(ColourSchemeFromPortal(3), None) << "a value of a later portal";
    EXPECT_EQ(ColourSchemeFromGnome("prefer-dark"), Dark);
    EXPECT_EQ(ColourSchemeFromGnome("prefer-light"), Light);
    EXPECT_EQ(ColourSchemeFromGnome("default"), None);
    EXPECT_EQ(ColourSchemeFromGnome("Prefer-Dark"), None) << "enumeration values are exact";

    EXPECT_EQ(DarkVariantFor(Dark), true);
    EXPECT_EQ(DarkVariantFor(Light), false);
    EXPECT_EQ(DarkVariantFor(None), std::nullopt) << "no preference leaves the toolkit's own choice";
}

// The desktop's state for one test: a private bus, and GNOME's settings in memory only.
class DesktopColourSchemeTest : public testing::Test {
protected:
    DesktopColourSchemeTest()
    {
        // Before anything makes GSettings choose where the settings live (once per process).
        g_setenv("GSETTINGS_BACKEND", "memory", TRUE);
        GSettingsSchemaSource* source = g_settings_schema_source_get_default();
        GSettingsSchema* schema =
            source != nullptr ? g_settings_schema_source_lookup(source, "org.gnome.desktop.interface", TRUE) : nullptr;
        if (schema == nullptr) {
            ADD_FAILURE() << "GNOME's interface schema is not installed (gsettings-desktop-schemas)";
            return;
        }
        g_settings_schema_unref(schema);
        gnome_ = g_settings_new("org.gnome.desktop.interface");
    }
    ~DesktopColourSchemeTest() override
    {
        watcher.reset();
        if (gnome_ != nullptr) g_object_unref(gnome_);
    }

    void SetGnome(const char* value) const
    {
        if (gnome_ != nullptr) g_settings_set_string(gnome_, "color-scheme", value);
    }
    void Watch()
    {
        watcher = std::make_unique<DesktopColourScheme>([this](ColourScheme scheme) { changes.push_back(scheme); });
    }

    PrivateSessionBus bus;
    std::unique_ptr<DesktopColourScheme> watcher;  // goes before the bus
    std::vector<ColourScheme> changes;

private:
    GSettings* gnome_ = nullptr;
};

TEST_F(DesktopColourSchemeTest, ThePortalsAnswerAndEveryColourSchemeChangeAfterItAreFollowed)
{
    for (const auto boxing : {SettingsPortal::Boxing::Twice, SettingsPortal::Boxing::Once}) {
        SCOPED_TRACE(boxing == SettingsPortal::Boxing::Twice ? "boxed twice" : "boxed once");
        SettingsPortal portal(bus, 1, boxing);
        changes.clear();
        Watch();
        ASSERT_TRUE(RunUntil([&] { return watcher->FromPortal(); }));
        EXPECT_EQ(watcher->Current(), Dark);

        portal.Change(2);
        portal.Change(1, "accent-color");  // another key of the same namespace
        portal.Change(0);
        ASSERT_TRUE(RunUntil([&] { return changes.size() >= 3; }));
        EXPECT_EQ(changes, (std::vector{Dark, Light, None}));
        watcher.reset();
    }
}

TEST_F(DesktopColourSchemeTest, WithoutAPortalGnomesSettingCountsAtOnceAndIsFollowed)
{
    SetGnome("prefer-dark");
    Watch();
    EXPECT_EQ(watcher->Current(), Dark) << "known before the first frame, with no bus round trip";
    SetGnome("prefer-light");
    ASSERT_TRUE(RunUntil([&] { return !changes.empty(); }));
    EXPECT_EQ(changes, std::vector{Light});
    EXPECT_FALSE(watcher->FromPortal());
}

TEST_F(DesktopColourSchemeTest, OnceThePortalHasAnsweredGnomesSettingNoLongerCounts)
{
    SetGnome("prefer-light");
    SettingsPortal portal(bus, 1);
    Watch();
    ASSERT_TRUE(RunUntil([&] { return watcher->FromPortal(); }));
    SetGnome("default");
    portal.Change(2);  // after the GNOME change, so a change it made would show first
    ASSERT_TRUE(RunUntil([&] { return changes.size() >= 2; }));
    EXPECT_EQ(changes, (std::vector{Dark, Light}));
}

TEST_F(DesktopColourSchemeTest, AWatcherGoneBeforeThePortalAnswersIsNeverCalledBack)
{
    SettingsPortal portal(bus, 1);
    Watch();
    watcher.reset();  // while it waits for the bus
    Watch();
    ASSERT_TRUE(RunUntil([&] { return portal.Reads() >= 1; }));
    watcher.reset();  // while the answer is on its way
    // The last watcher's answer comes after the others' would have.
    Watch();
    ASSERT_TRUE(RunUntil([&] { return watcher->FromPortal(); }));
    EXPECT_EQ(changes, std::vector{Dark});
}

}  // namespace
}  // namespace quillora
