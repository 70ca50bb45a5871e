#include <gtest/gtest.h>

#include <string>

#include "book/app_id.hpp"

namespace quillora {
namespace {

TEST(AppId, BookNamesBecomeValidIdsAndValidOnesStay)
{
    struct Case {
        std::string name;
        std::string id;
    };
    // book file name -> app id
    const Case cases[] = {
        {"atlas", "atlas"},
        {"Atlas-2_b", "Atlas-2_b"},
        {"org.example.Atlas", "org.example.Atlas"},
        {"atlas.bin", "atlas.bin"},
        // Runs of other characters become one '_'.
        {"Atlas of the World", "Atlas_of_the_World"},
        {"a  +  b", "a_b"},
        {"Bücher über Öl", "B_cher_ber_l"},
        {"日本", "_"},
        {"tab\there", "tab_here"},
        // Elements start with no digit.
        {"2024 guide", "_2024_guide"},
        {"guide.2024", "guide._2024"},
        {"9", "_9"},
        // Empty elements go: leading, trailing and doubled dots.
        {".atlas", "atlas"},
        {"atlas.", "atlas"},
        {"a..b", "a.b"},
        // Nothing usable.
        {"", "quillora-book"},
        {"...", "quillora-book"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BookAppId(c.name), c.id) << c.name;
    }
}

TEST(AppId, LongNamesAreCutWithoutAnEmptyLastElement)
{
    struct Case {
        std::string name;
        std::size_t length;
    };
    // name -> length of its id (at most 255, never ending in a dot)
    const Case cases[] = {
        {std::string(255, 'a'), 255},
        {std::string(256, 'a'), 255},
        {std::string(254, 'a') + ".b", 254},
        {std::string(253, 'a') + ".bc", 255},
    };
    for (const auto& c : cases) {
        const std::string id = BookAppId(c.name);
        EXPECT_EQ(id.size(), c.length) << c.name;
        EXPECT_NE(id.back(), '.') << c.name;
    }
}

}  // namespace
}  // namespace quillora
