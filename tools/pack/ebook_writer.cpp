#include "ebook_writer.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>

#include "common/error.hpp"
#include "output_commit.hpp"
#include "payload/payload_writer.hpp"

namespace quillora::pack {
namespace {

namespace fs = std::filesystem;

std::string ErrnoText()
{
    return std::generic_category().message(errno);
}

mode_t ExecutableMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0777 & ~mask;
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
            throw quillora::Error("the page folder " + folder.source.string() +
                                  " cannot be copied into itself (" + destination.string() + ")");
        }
        if (IsInside(folder.source, destination)) {
            throw quillora::Error("the page folder " + folder.source.string() + " lies inside " +
                                  destination.string() + ", which the e-book's page folder would replace");
        }
        if (destination == request.output) {
            throw quillora::Error("the e-book " + request.output.string() +
                                  " would have the name of its page folder");
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
    if (fs::exists(fs::symlink_status(output, error)) && !request.replace) {
        throw quillora::Error(request.output.string() + " already exists (use --force to replace it)");
    }
    WriteRequest normalised = request;
    normalised.output = output;
    const auto moves = PlanFolderMoves(normalised, folder);
    const std::string image = AppendPayload(request.runtime_image, request.payload_text);

    OutputCommit commit(folder, output.filename().string());
    commit.CreateFolders();
    commit.RemoveStaleTemporaries();
    const auto [temporary, fd] = commit.CreateTemporaryFile();
    WriteAll(fd, image, temporary);
    if (::fchmod(fd, ExecutableMode()) != 0 || ::fsync(fd) != 0) {
        throw quillora::Error("cannot write " + temporary.string() + ": " + ErrnoText());
    }

    if (!moves.empty()) {
        const fs::path staging = commit.CreateTemporaryFolder();
        for (const auto& move : moves) {
            CopyPageFolder(*move.folder, staging / move.folder->name);
        }
        for (const auto& move : moves) {
            commit.Place(staging / move.folder->name, move.destination, request.replace);
        }
    }
    commit.Place(temporary, output, request.replace);
    commit.Commit();
}

}  // namespace quillora::pack
