#include "ebook_writer.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>
#include <utility>

#include "common/error.hpp"
#include "desktop_launcher.hpp"
#include "errno_text.hpp"
#include "output_commit.hpp"
#include "payload/payload_writer.hpp"
#include "search/search_index.hpp"

namespace quillora::pack {
namespace {

namespace fs = std::filesystem;

// The permissions a new file of `mode` gets under the process's umask.
mode_t MaskedMode(mode_t mode)
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mode & ~mask;
}

void WriteAll(int fd, std::string_view bytes, const fs::path& path)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw quillora::Error("cannot write " + path.string() + ": " + ErrnoText());
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

// Writes `bytes` to a new temporary of the commit with the permissions `mode` (under the umask).
fs::path WriteTemporary(OutputCommit& commit, std::string_view bytes, mode_t mode)
{
    const auto [temporary, fd] = commit.CreateTemporaryFile();
    WriteAll(fd, bytes, temporary);
    if (::fchmod(fd, MaskedMode(mode)) != 0 || ::fsync(fd) != 0) {
        throw quillora::Error("cannot write " + temporary.string() + ": " + ErrnoText());
    }
    return temporary;
}

bool IsInside(const fs::path& inner, const fs::path& outer)
{
    std::error_code error;
    const auto a = fs::weakly_canonical(inner, error);
    const auto b = fs::weakly_canonical(outer, error);
    auto [mismatch, ignored] = std::mismatch(b.begin(), b.end(), a.begin(), a.end());
    return mismatch == b.end();
}

struct FolderMove {
    const PlannedPageFolder* folder;
    fs::path destination;
};

// Which page folders need copying, refusing whatever would lose an author's files.
std::vector<FolderMove> PlanFolderMoves(const WriteRequest& request, const fs::path& output_folder)
{
    std::vector<FolderMove> moves;
    for (const auto& folder : request.page_folders) {
        const fs::path destination = output_folder / folder.name;
        std::error_code error;
        if (fs::equivalent(folder.source, destination, error)) {
            continue;  // the e-book is written beside its own page folder
        }
        if (IsInside(destination, folder.source)) {
            throw quillora::Error("the page folder " + folder.source.string() + " cannot be copied into itself (" +
                                  destination.string() + ")");
        }
        if (IsInside(folder.source, destination)) {
            throw quillora::Error("the page folder " + folder.source.string() + " lies inside " + destination.string() +
                                  ", which the e-book's page folder would replace");
        }
        if (destination == request.output) {
            throw quillora::Error("the e-book " + request.output.string() + " would have the name of its page folder");
        }
        for (const auto& [file, what] : {std::pair{LauncherPath(request.output), "launcher"},
                                         std::pair{LauncherIconPath(request.output), "icon"}}) {
            if (destination == file) {
                throw quillora::Error("the e-book's " + std::string(what) + " " + file.string() +
                                      " would have the name of its page folder");
            }
        }
        if (fs::exists(fs::symlink_status(destination, error)) && !request.replace) {
            throw quillora::Error(destination.string() + " already exists (use --force to replace it)");
        }
        moves.push_back({&folder, destination});
    }
    return moves;
}

}  // namespace

void WriteEbook(const WriteRequest& request)
{
    const fs::path output = fs::absolute(request.output).lexically_normal();
    const fs::path folder = output.parent_path();
    std::error_code error;
    if (!output.has_filename() || fs::is_directory(output, error)) {
        throw quillora::Error(request.output.string() + " is a folder; name the e-book file to write");
    }
    if (fs::exists(folder, error) && !fs::is_directory(folder, error)) {
        throw quillora::Error(folder.string() + " is not a folder");
    }
    const fs::path launcher = LauncherPath(output);
    const fs::path icon = LauncherIconPath(output);
    // Named in messages as the user gave them.
    const std::pair<fs::path, fs::path> outputs[] = {
        {output, request.output}, {launcher, LauncherPath(request.output)}, {icon, LauncherIconPath(request.output)}};
    for (const auto& [path, shown] : outputs) {
        if (fs::exists(fs::symlink_status(path, error)) && !request.replace) {
            throw quillora::Error(shown.string() + " already exists (use --force to replace it)");
        }
    }
    WriteRequest normalised = request;
    normalised.output = output;
    const auto moves = PlanFolderMoves(normalised, folder);
    const std::string image = AppendPayload(request.runtime_image, request.payload_text);

    OutputCommit commit(folder, output.filename().string());
    commit.CreateFolders();
    commit.RemoveStaleTemporaries();
    const fs::path temporary = WriteTemporary(commit, image, 0777);
    // The launcher is runnable: file managers start only launchers that are.
    const fs::path launcher_temporary = WriteTemporary(commit, DesktopLauncherText(request.title, output, icon), 0777);
    const fs::path icon_temporary = WriteTemporary(commit, ProgramIconSvg(), 0666);

    if (!moves.empty()) {
        const fs::path staging = commit.CreateTemporaryFolder();
        for (const auto& move : moves) {
            CopyPageFolder(*move.folder, staging / move.folder->name);
            // Written after the copy, so that it holds the copied pages' sizes and times.
            if (request.search_index) {
                quillora::WriteSearchIndexFile(staging / move.folder->name);
            }
        }
        for (const auto& move : moves) {
            commit.Place(staging / move.folder->name, move.destination, request.replace);
        }
    }
    if (request.search_index) {
        // A page folder that the e-book is written beside is its own copy: its index goes there.
        for (const auto& page_folder : normalised.page_folders) {
            if (std::none_of(moves.begin(), moves.end(),
                             [&](const FolderMove& move) { return move.folder == &page_folder; })) {
                quillora::WriteSearchIndexFile(page_folder.source);
            }
        }
    }
    commit.Place(icon_temporary, icon, request.replace);
    commit.Place(launcher_temporary, launcher, request.replace);
    commit.Place(temporary, output, request.replace);
    commit.Commit();
}

}  // namespace quillora::pack
