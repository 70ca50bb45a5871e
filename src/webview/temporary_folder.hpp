#pragma once

#include <filesystem>
#include <string>

namespace quillora {

// A private folder (mode 0700) under the system's temporary folder, removed with everything in
// it when this goes away, and also when the program ends through exit() or a signal that ends
// it (see RemoveOnExit).
class TemporaryFolder {
public:
    // Throws Error when the folder cannot be made.
    [[nodiscard]] static TemporaryFolder Create(const std::string& name_stem);

    TemporaryFolder() = default;
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    TemporaryFolder(TemporaryFolder&& other) noexcept;
    TemporaryFolder& operator=(TemporaryFolder&& other) noexcept;
    ~TemporaryFolder();

    [[nodiscard]] const std::filesystem::path& Path() const { return path_; }
    void Remove() noexcept;

private:
    explicit TemporaryFolder(std::filesystem::path path);

    std::filesystem::path path_;
    int removal_slot_ = -1;
};

}  // namespace quillora
