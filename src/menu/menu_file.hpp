#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace quillora {

// The menu definition file: the settings lines saved where the menu reads them, as
// "<folder>.<STEM>.dmt". It exists exactly as long as this object (and is removed too when the
// program ends through exit() or SIGTERM, SIGINT or SIGHUP).
class MenuFile {
public:
    // Draws a name stem: six capital letters.
    using StemSource = std::function<std::string()>;

    // Writes `content` (the settings list's text) byte for byte to a new file in `folder` (which
    // ends with "/"; an empty folder means the current one). The file is created afresh with
    // mode 0600 and never through a link; a name already taken is drawn anew. Throws Error
    // "Cannot create file \"<path>\". <reason>" when no file can be made.
    [[nodiscard]] static std::unique_ptr<MenuFile> Create(std::string_view content, const std::string& folder,
                                                          const StemSource& draw_stem = DrawMenuFileStem);

    MenuFile(const MenuFile&) = delete;
    MenuFile& operator=(const MenuFile&) = delete;
    ~MenuFile();

    [[nodiscard]] const std::string& Path() const { return path_; }
    [[nodiscard]] const std::string& Stem() const { return stem_; }

    // Six letters from "A".."Z", each uniform, from the system's cryptographic random source, so
    // that the name of another run's file can neither collide by chance of timing nor be guessed.
    [[nodiscard]] static std::string DrawMenuFileStem();

private:
    MenuFile(std::string path, std::string stem, int removal_slot);

    std::string path_;
    std::string stem_;
    int removal_slot_;
};

// The temporary folder with a trailing "/": TMPDIR when it is set and not empty, else "/tmp/".
[[nodiscard]] std::string DefaultTemporaryFolder();

}  // namespace quillora
