#include "window/skin_store.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "common/error.hpp"

namespace quillora {
namespace {

TEST(SkinStore, PositionSelectsSkinNoneOrFails)
{
    // index -> selected stored skin (nullopt: none)
    EXPECT_EQ(SelectStoredSkin(0), std::optional<int>(0));
    EXPECT_EQ(SelectStoredSkin(15), std::optional<int>(15));
    EXPECT_EQ(SelectStoredSkin(16), std::nullopt);
    EXPECT_EQ(SelectStoredSkin(2147483647), std::nullopt);

    // negative -> "List index out of bounds (%d)" with the index as given
    for (const long long index : {-1LL, -2147483648LL}) {
        try {
            (void)SelectStoredSkin(index);
            ADD_FAILURE() << "no error for " << index;
        } catch (const Error& error) {
            EXPECT_EQ(std::string(error.what()),
                      "List index out of bounds (" + std::to_string(index) + ")");
        }
    }
}

TEST(SkinStore, EverySkinHasItsOwnNameAndSheet)
{
    std::set<std::string_view> names;
    std::set<std::string_view> paths;
    for (const StoredSkin& skin : StoredSkins()) {
        EXPECT_FALSE(skin.name.empty());
        names.insert(skin.name);
        paths.insert(skin.resource_path);
        // The sheet must be in the source tree under the name the resource bundle gives it.
        const std::string prefix = "/org/quillora/";
        ASSERT_EQ(skin.resource_path.substr(0, prefix.size()), prefix);
        const std::filesystem::path source = std::filesystem::path(QUILLORA_SOURCE_DIR) /
                                             "src/resources" /
                                             skin.resource_path.substr(prefix.size());
        EXPECT_TRUE(std::filesystem::is_regular_file(source)) << source;
    }
    EXPECT_EQ(names.size(), static_cast<size_t>(StoredSkinCount));
    EXPECT_EQ(paths.size(), static_cast<size_t>(StoredSkinCount));
}

}  // namespace
}  // namespace quillora
