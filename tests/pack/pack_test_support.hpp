#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

extern char** environ;

namespace quillora::pack::testing {

namespace fs = std::filesystem;

// A fresh folder under the temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir()
    {
        std::string pattern = (fs::temp_directory_path() / "quillora-pack-test.XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("mkdtemp failed");
        }
        path_ = pattern;
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir()
    {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    const fs::path& Path() const { return path_; }
    fs::path operator/(const fs::path& relative) const { return path_ / relative; }

private:
    fs::path path_;
};

inline void WriteFile(const fs::path& path, const std::string& bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

inline std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The names in a folder, sorted, so that leftovers show in a failure message.
inline std::vector<std::string> Listing(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// A book folder with a home page, ready to take a book.conf.
inline fs::path MakeBookFolder(const fs::path& folder, const std::string& conf)
{
    WriteFile(folder / "pages" / "index.html", "<html><body>home</body></html>");
    WriteFile(folder / "book.conf", conf);
    return folder / "book.conf";
}

struct RunResult {
    int exit_code = -1;
    std::string out;
    std::string err;
};

// Runs quillora-pack with the arguments, capturing what it prints. No shell is involved.
inline RunResult RunPack(const std::vector<std::string>& arguments, const fs::path& scratch)
{
    const fs::path out_file = scratch / ".run-stdout";
    const fs::path err_file = scratch / ".run-stderr";
    std::vector<std::string> all = {QUILLORA_PACK_EXE};
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& argument : all) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, err_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        throw std::runtime_error("cannot start " + all[0]);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    RunResult result;
    result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = ReadFile(out_file);
    result.err = ReadFile(err_file);
    fs::remove(out_file);
    fs::remove(err_file);
    return result;
}

}  // namespace quillora::pack::testing
