#include "ebook_writer.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>

#include "common/error.hpp"
#include "payload/payload_writer.hpp"

namespace quillora::pack {
namespace {

namespace fs = std::filesystem;

std::string ErrnoText()
{
    return std::generic_category().message(errno);
}

class ScopedFd {
public:
    explicit ScopedFd(int fd) : fd_(fd) {}
    ScopedFd(const ScopedFd&) = delete;
    ScopedFd& operator=(const ScopedFd&) = delete;
    ~ScopedFd()
    {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    int Get() const { return fd_; }
    // Closes now, so that a failing close (data that never reached the disk) is seen.
    bool Close()
    {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

mode_t ExecutableMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0777 & ~mask;
}

// Everything the write has created or moved so far, undone unless Commit() is reached.
class OutputTransaction {
public:
    explicit OutputTransaction(fs::path folder) : folder_(std::move(folder)) {}
    OutputTransaction(const OutputTransaction&) = delete;
    OutputTransaction& operator=(const OutputTransaction&) = delete;

    ~OutputTransaction()
    {
        std::error_code ignored;
        if (!committed_) {
            for (auto it = placed_.rbegin(); it != placed_.rend(); ++it) {
                fs::remove_all(*it, ignored);
            }
            for (auto it = moved_aside_.rbegin(); it != moved_aside_.rend(); ++it) {
                fs::rename(it->first, it->second, ignored);
            }
        }
        for (const auto& temporary : temporaries_) {
            fs::remove_all(temporary, ignored);
        }
        if (!committed_) {
            for (auto it = created_folders_.rbegin(); it != created_folders_.rend(); ++it) {
                fs::remove(*it, ignored);  // only while empty
            }
        }
    }

    // A hidden file beside the output, removed at the end whatever happens.
    std::pair<fs::path, int> CreateTemporaryFile(const std::string& stem)
    {
        std::string name = (folder_ / ("." + stem + ".XXXXXX")).string();
        const int fd = ::mkstemp(name.data());
        if (fd < 0) {
            throw quillora::Error("cannot create a file in " + folder_.string() + ": " + ErrnoText());
        }
        temporaries_.emplace_back(name);
        return {fs::path(name), fd};
    }

    fs::path CreateTemporaryFolder(const std::string& stem)
    {
        std::string name = (folder_ / ("." + stem + ".pages.XXXXXX")).string();
        if (::mkdtemp(name.data()) == nullptr) {
            throw quillora::Error("cannot create a folder in " + folder_.string() + ": " + ErrnoText());
        }
        temporaries_.emplace_back(name);
        return fs::path(name);
    }

    void MoveAside(const fs::path& from, const fs::path& to)
    {
        Rename(from, to);
        moved_aside_.emplace_back(to, from);
    }

    void Place(const fs::path& from, const fs::path& to)
    {
        Rename(from, to);
        placed_.push_back(to);
    }

    // Creates the folder and its missing parents; on failure they are removed again.
    void CreateFolders(const fs::path& folder)
    {
        std::vector<fs::path> missing;
        std::error_code error;
        for (fs::path at = folder; !at.empty() && !fs::exists(at, error); at = at.parent_path()) {
            missing.push_back(at);
            if (at == at.parent_path()) {
                break;
            }
        }
        for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
            if (!fs::create_directory(*it, error) && error) {
                throw quillora::Error("cannot create the folder " + it->string() + ": " + error.message());
            }
            created_folders_.push_back(*it);
        }
    }

    void Commit() { committed_ = true; }

private:
    static void Rename(const fs::path& from, const fs::path& to)
    {
        std::error_code error;
        fs::rename(from, to, error);
        if (error) {
            throw quillora::Error("cannot move " + from.string() + " to " + to.string() + ": " +
                                  error.message());
        }
    }

    fs::path folder_;
    std::vector<fs::path> temporaries_;
    std::vector<std::pair<fs::path, fs::path>> moved_aside_;  // (where it is now, where it was)
    std::vector<fs::path> placed_;
    std::vector<fs::path> created_folders_;
    bool committed_ = false;
};

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
    const PageFolder* folder;
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

    OutputTransaction transaction(folder);
    transaction.CreateFolders(folder);
    const std::string stem = output.filename().string();
    const auto [temporary, raw_fd] = transaction.CreateTemporaryFile(stem);
    ScopedFd fd(raw_fd);
    WriteAll(fd.Get(), image, temporary);
    if (::fchmod(fd.Get(), ExecutableMode()) != 0 || ::fsync(fd.Get()) != 0 || !fd.Close()) {
        throw quillora::Error("cannot write " + temporary.string() + ": " + ErrnoText());
    }

    if (!moves.empty()) {
        const fs::path staging = transaction.CreateTemporaryFolder(stem);
        for (const auto& move : moves) {
            fs::copy(move.folder->source, staging / move.folder->name, fs::copy_options::recursive, error);
            if (error) {
                throw quillora::Error("cannot copy the page folder " + move.folder->source.string() +
                                      ": " + error.message());
            }
        }
        for (const auto& move : moves) {
            if (fs::exists(fs::symlink_status(move.destination, error))) {
                transaction.MoveAside(move.destination, staging / (".old." + move.folder->name));
            }
            transaction.Place(staging / move.folder->name, move.destination);
        }
    }
    transaction.Place(temporary, output);
    transaction.Commit();
}

}  // namespace quillora::pack
