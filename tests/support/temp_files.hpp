#pragma once

// Temporary folders and whole-file reading and writing, shared by the unit, authoring-tool and
// GUI tests. The folder itself is the program's own TemporaryFolder.

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>

#include "common/temporary_folder.hpp"

namespace quillora::test {

// Writes `bytes` to `path`, making the folders on the way.
inline void WriteFile(const std::filesystem::path& path, std::string_view bytes)
{
    if (path.has_parent_path()) {
        std::filesystem::create_directories(path.parent_path());
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

inline std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path.string());
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// A fresh private folder, removed with everything in it when the test is done.
class TempDir {
public:
    TempDir() : folder_(TemporaryFolder::Create("quillora-test")) {}

    const std::filesystem::path& Path() const { return folder_.Path(); }
    std::filesystem::path operator/(const std::filesystem::path& relative) const { return Path() / relative; }
    // The path of `name` inside the folder (the file need not exist).
    std::string File(std::string_view name) const { return (Path() / name).string(); }
    // Writes `content` to `name` in the folder and returns its full path.
    std::string Write(std::string_view name, std::string_view content) const
    {
        std::string path = File(name);
        WriteFile(path, content);
        return path;
    }
    // The file:// address of `name` as the engine writes it; the caller gives it escaped.
    std::string Uri(const std::string& escaped_name) const { return "file://" + Path().string() + "/" + escaped_name; }

private:
    TemporaryFolder folder_;
};

}  // namespace quillora::test
