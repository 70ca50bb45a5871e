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

#include "support/temp_files.hpp"

extern char** environ;

namespace quillora::pack::testing {

namespace fs = std::filesystem;

using quillora::test::ReadFile;
using quillora::test::TempDir;
using quillora::test::WriteFile;

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

// Runs quillora-pack (or a copy of it at `tool`) with the arguments, capturing what it prints.
// No shell is involved; a launcher (such as setpriv with its options) runs the tool when given.
inline RunResult RunPack(const std::vector<std::string>& arguments, const fs::path& scratch,
                         const std::vector<std::string>& launcher = {}, const fs::path& tool = QUILLORA_PACK_EXE)
{
    const fs::path out_file = scratch / ".run-stdout";
    const fs::path err_file = scratch / ".run-stderr";
    std::vector<std::string> all = launcher;
    all.push_back(tool.string());
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
