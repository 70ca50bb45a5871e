#pragma once

#include <filesystem>
#include <string>

namespace quillora {

// The folder that temporary files go in, as the engine finds it too: TMPDIR when set, else /tmp.
[[nodiscard]] std::filesystem::path TemporaryFilesFolder();

// What keeps anyone from making files in `folder`, in words that follow its name ("does not
// exist", "is not a folder", "cannot be written to: Read-only file system"); empty when nothing
// does. The engine hides such a cause behind words of its own.
[[nodiscard]] std::string TemporaryFolderProblem(const std::filesystem::path& folder);

// A private folder (mode 0700) in TemporaryFilesFolder(), removed with everything in it when
// this goes away, and also when the program ends through exit() or a signal that ends it (see
// RemoveOnExit).
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
