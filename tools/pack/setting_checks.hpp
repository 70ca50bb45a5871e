#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "diagnostics.hpp"
#include "payload/setting_index.hpp"

namespace quillora::pack {

// The 103 values of a book, each with the source line that gave it.
struct SettingValues {
    std::array<std::string, SettingCount> values;
    std::array<int, SettingCount> lines{};  // 0: the value is the default

    const std::string& operator[](int index) const { return values[static_cast<std::size_t>(index)]; }
};

// A folder of pages that travels beside the e-book under its own name.
struct PageFolder {
    std::filesystem::path source;
    std::string name;
};

// Checks every setting by its kind and by what the runtime does with it, adding every problem
// to `diagnostics`. Page settings are turned into their stored form in place; the folders that
// hold them are returned.
std::vector<PageFolder> CheckSettings(SettingValues& settings, const std::filesystem::path& source_folder,
                                      const std::string& file, bool has_menu, Diagnostics& diagnostics);

}  // namespace quillora::pack
