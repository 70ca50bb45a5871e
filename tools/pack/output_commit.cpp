#include "output_commit.hpp"

#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "common/error.hpp"
#include "errno_text.hpp"

namespace quillora::pack {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view FileInfix = ".packing-";
constexpr std::string_view FolderInfix = ".packing-pages-";
constexpr std::string_view UniqueSuffix = "XXXXXX";  // filled by mkstemp and mkdtemp

quillora::Error AlreadyExists(const fs::path& path)
{
    return quillora::Error(path.string() + " already exists (use --force to replace it)");
}

quillora::Error CannotMove(const fs::path& from, const fs::path& to, int error = errno)
{
    return quillora::Error("cannot move " + from.string() + " to " + to.string() + ": " + ErrnoText(error));
}

// ".NAME" + infix + six characters of mkstemp's alphabet, and nothing else.
bool IsTemporaryName(const std::string& entry, const std::string& name, std::string_view infix)
{
    const std::string prefix = "." + name + std::string(infix);
    if (entry.size() != prefix.size() + UniqueSuffix.size() || !entry.starts_with(prefix)) {
        return false;
    }
    for (std::size_t i = prefix.size(); i < entry.size(); ++i) {
        const char c = entry[i];
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) {
            return false;
        }
    }
    return true;
}

bool SameFile(int fd, const fs::path& path)
{
    struct stat open {};
    struct stat named {};
    return ::fstat(fd, &open) == 0 && ::lstat(path.c_str(), &named) == 0 && open.st_dev == named.st_dev &&
           open.st_ino == named.st_ino;
}

// Takes the lock of a temporary just made. A run sweeping stale temporaries may have locked
// and removed it between its making and this lock; then it is made again.
bool LockFresh(int fd, const fs::path& path)
{
    while (::flock(fd, LOCK_EX) != 0) {
        if (errno != EINTR) {
            throw quillora::Error("cannot lock " + path.string() + ": " + ErrnoText());
        }
    }
    return SameFile(fd, path);
}

constexpr int CreationAttempts = 8;

bool RenameNoReplace(const fs::path& from, const fs::path& to)
{
    return ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0;
}

bool Exchange(const fs::path& from, const fs::path& to)
{
    return ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_EXCHANGE) == 0;
}

// A file system without renameat2's flags (some network and FUSE ones) answers EINVAL.
bool FlagsUnsupported(int error)
{
    return error == EINVAL || error == ENOSYS || error == ENOTSUP;
}

}  // namespace

bool IsTemporaryFileName(const std::string& entry, const std::string& name)
{
    return IsTemporaryName(entry, name, FileInfix);
}

bool IsTemporaryFolderName(const std::string& entry, const std::string& name)
{
    return IsTemporaryName(entry, name, FolderInfix);
}

OutputCommit::OutputCommit(fs::path folder, std::string name) : folder_(std::move(folder)), name_(std::move(name)) {}

OutputCommit::~OutputCommit()
{
    if (!committed_) {
        UndoPlacements();
    }
    std::error_code ignored;
    for (auto it = temporaries_.rbegin(); it != temporaries_.rend(); ++it) {
        fs::remove_all((*it)->path, ignored);  // still locked, so no other run touches it
    }
    temporaries_.clear();
    if (!committed_) {
        for (auto it = created_folder_paths_.rbegin(); it != created_folder_paths_.rend(); ++it) {
            fs::remove(*it, ignored);  // only while empty
        }
    }
}

void OutputCommit::CreateFolders()
{
    std::vector<fs::path> missing;
    std::error_code error;
    for (fs::path at = folder_; !at.empty() && !fs::exists(at, error); at = at.parent_path()) {
        missing.push_back(at);
        if (at == at.parent_path()) {
            break;
        }
    }
    for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
        if (!fs::create_directory(*it, error) && error) {
            throw quillora::Error("cannot create the folder " + it->string() + ": " + error.message());
        }
        created_folder_paths_.push_back(*it);
        try {
            created_folders_.push_back(std::make_unique<InterruptLeftover>(*it, LeftoverKind::EmptyFolder));
        } catch (const quillora::Error&) {
            // The registry's room is kept for the temporaries; an interrupt leaves this empty folder.
        }
    }
}

int OutputCommit::RemoveStaleTemporaries()
{
    int removed = 0;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder_, error)) {
        const std::string entry_name = entry.path().filename().string();
        const bool is_file = IsTemporaryFileName(entry_name, name_);
        if (!is_file && !IsTemporaryFolderName(entry_name, name_)) {
            continue;
        }
        const int flags = O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | (is_file ? 0 : O_DIRECTORY);
        const UniqueFd fd(::open(entry.path().c_str(), flags));
        struct stat info {};
        if (!fd.Valid() || ::fstat(fd.Get(), &info) != 0 ||
            (is_file ? !S_ISREG(info.st_mode) : !S_ISDIR(info.st_mode)) || ::flock(fd.Get(), LOCK_EX | LOCK_NB) != 0 ||
            !SameFile(fd.Get(), entry.path())) {
            continue;  // not ours, or a live run holds it
        }
        std::error_code ignored;
        if (fs::remove_all(entry.path(), ignored) > 0) {
            ++removed;
        }
    }
    return removed;
}

OutputCommit::Temporary& OutputCommit::AddTemporary(const fs::path& path, LeftoverKind kind, UniqueFd lock)
{
    try {
        // An aggregate: clang 14 lacks the parenthesised initialisation make_unique would need.
        // NOLINTNEXTLINE(modernize-make-unique)
        temporaries_.push_back(std::unique_ptr<Temporary>(new Temporary{path, kind, std::move(lock), {path, kind}}));
    } catch (...) {
        std::error_code ignored;
        fs::remove_all(path, ignored);
        throw;
    }
    return *temporaries_.back();
}

OutputCommit::TemporaryFile OutputCommit::CreateTemporaryFile()
{
    for (int attempt = 0; attempt < CreationAttempts; ++attempt) {
        std::string name = (folder_ / ("." + name_ + std::string(FileInfix) + std::string(UniqueSuffix))).string();
        UniqueFd fd(::mkstemp(name.data()));
        if (!fd.Valid()) {
            throw quillora::Error("cannot create a file in " + folder_.string() + ": " + ErrnoText());
        }
        if (!LockFresh(fd.Get(), name)) {
            continue;
        }
        auto& temporary = AddTemporary(name, LeftoverKind::File, std::move(fd));
        return {temporary.path, temporary.lock.Get()};
    }
    throw quillora::Error("cannot create a file in " + folder_.string() + ": another run keeps removing it");
}

fs::path OutputCommit::CreateTemporaryFolder()
{
    for (int attempt = 0; attempt < CreationAttempts; ++attempt) {
        std::string name = (folder_ / ("." + name_ + std::string(FolderInfix) + std::string(UniqueSuffix))).string();
        if (::mkdtemp(name.data()) == nullptr) {
            throw quillora::Error("cannot create a folder in " + folder_.string() + ": " + ErrnoText());
        }
        UniqueFd fd(::open(name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (!fd.Valid()) {
            const int error = errno;
            ::rmdir(name.c_str());
            throw quillora::Error("cannot open the folder " + name + ": " + ErrnoText(error));
        }
        if (!LockFresh(fd.Get(), name)) {
            continue;
        }
        return AddTemporary(name, LeftoverKind::Tree, std::move(fd)).path;
    }
    throw quillora::Error("cannot create a folder in " + folder_.string() + ": another run keeps removing it");
}

void OutputCommit::Place(const fs::path& from, const fs::path& to, bool replace)
{
    if (!deferred_) {
        deferred_.emplace();
    }
    if (replace) {
        PlaceReplacing(from, to);
    } else {
        PlaceWithoutReplacing(from, to);
    }
}

void OutputCommit::PlaceWithoutReplacing(const fs::path& from, const fs::path& to)
{
    if (RenameNoReplace(from, to)) {
        placements_.push_back({Placement::How::Renamed, from, to, {}});
        return;
    }
    if (errno == EEXIST) {
        throw AlreadyExists(to);
    }
    if (!FlagsUnsupported(errno)) {
        throw CannotMove(from, to);
    }
    // Without the flag: a hard link (a file) or a folder made for the purpose (a folder) is
    // refused atomically by an existing name, and the rename then replaces only that.
    if (fs::is_directory(fs::symlink_status(from))) {
        if (::mkdir(to.c_str(), 0700) != 0) {
            throw errno == EEXIST ? AlreadyExists(to) : CannotMove(from, to);
        }
        if (::rename(from.c_str(), to.c_str()) != 0) {
            const int error = errno;
            ::rmdir(to.c_str());
            throw CannotMove(from, to, error);
        }
    } else {
        if (::link(from.c_str(), to.c_str()) != 0) {
            throw errno == EEXIST ? AlreadyExists(to) : CannotMove(from, to);
        }
        ::unlink(from.c_str());
    }
    placements_.push_back({Placement::How::Renamed, from, to, {}});
}

void OutputCommit::PlaceReplacing(const fs::path& from, const fs::path& to)
{
    // An existing `to` is swapped with `from` in one step, so that no moment lacks either;
    // when `to` vanishes meanwhile, the plain rename takes over.
    for (int attempt = 0; attempt < CreationAttempts; ++attempt) {
        if (Exchange(from, to)) {
            placements_.push_back({Placement::How::Exchanged, from, to, {}});
            return;
        }
        if (errno != ENOENT) {
            break;
        }
        if (RenameNoReplace(from, to)) {
            placements_.push_back({Placement::How::Renamed, from, to, {}});
            return;
        }
        if (errno != EEXIST) {
            break;
        }
    }
    if (!FlagsUnsupported(errno)) {
        throw CannotMove(from, to);
    }
    // Without the flags: move the old one aside first, so that it can come back on failure.
    const fs::path aside = from.native() + "-replaced";
    const bool existed = ::rename(to.c_str(), aside.c_str()) == 0;
    if (::rename(from.c_str(), to.c_str()) != 0) {
        const int error = errno;
        if (existed) {
            ::rename(aside.c_str(), to.c_str());
        }
        throw CannotMove(from, to, error);
    }
    placements_.push_back({existed ? Placement::How::MovedAside : Placement::How::Renamed, from, to, aside});
}

void OutputCommit::UndoPlacements() noexcept
{
    std::error_code ignored;
    for (auto it = placements_.rbegin(); it != placements_.rend(); ++it) {
        switch (it->how) {
        case Placement::How::Renamed: fs::remove_all(it->to, ignored); break;
        case Placement::How::Exchanged: Exchange(it->from, it->to); break;
        case Placement::How::MovedAside:
            fs::remove_all(it->to, ignored);
            fs::rename(it->aside, it->to, ignored);
            break;
        }
    }
    placements_.clear();
}

void OutputCommit::Commit()
{
    committed_ = true;
    std::error_code ignored;
    for (const auto& placement : placements_) {
        if (placement.how == Placement::How::MovedAside) {
            fs::remove_all(placement.aside, ignored);
        }
    }
    // The renames reach the disk with the folder's own entries.
    if (const UniqueFd folder(::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)); folder.Valid()) {
        ::fsync(folder.Get());
    }
}

}  // namespace quillora::pack
