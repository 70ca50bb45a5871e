#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/unique_fd.hpp"
#include "interrupt_cleanup.hpp"

namespace quillora::pack {

// The temporaries of one e-book being written, and the renames that put them in place; all of it
// is undone unless Commit() is reached.
//
// Temporaries are hidden beside the output: ".NAME.packing-XXXXXX" for the program and
// ".NAME.packing-pages-XXXXXX" for the page folders. The run that made one holds an exclusive
// flock on it until it ends; the kernel drops the lock when the process dies however it dies, so
// a temporary of that naming that can be locked belongs to no live run and is removed by the
// next run for the same NAME. SIGINT, SIGTERM and SIGHUP remove them at once when
// InstallInterruptCleanup() was called.
class OutputCommit {
public:
    // `folder` receives the e-book named `name`.
    OutputCommit(std::filesystem::path folder, std::string name);
    OutputCommit(const OutputCommit&) = delete;
    OutputCommit& operator=(const OutputCommit&) = delete;
    ~OutputCommit();

    // Creates the output folder and its missing parents; on failure they are removed again.
    void CreateFolders();
    // Removes the temporaries for this name that no live run holds; returns how many.
    int RemoveStaleTemporaries();

    struct TemporaryFile {
        std::filesystem::path path;
        int fd;  // open for writing, owned by the commit
    };
    TemporaryFile CreateTemporaryFile();
    std::filesystem::path CreateTemporaryFolder();

    // Renames `from` (one of the temporaries or something inside one) to `to`. Without
    // `replace`, an existing `to` is never replaced, however late it appeared: the rename
    // itself refuses it and throws "TO already exists (use --force to replace it)". With
    // `replace`, an existing `to` is swapped out in one step, kept at `from` until Commit().
    // From the first call on, interrupts wait until the commit or its undoing is done.
    void Place(const std::filesystem::path& from, const std::filesystem::path& to, bool replace);

    // Keeps what was placed; the temporaries (and what was swapped out) are removed.
    void Commit();

private:
    struct Temporary {
        std::filesystem::path path;
        LeftoverKind kind;
        UniqueFd lock;  // holds the flock that tells live temporaries from stale ones
        InterruptLeftover on_interrupt;
    };
    struct Placement {
        enum class How { Renamed, Exchanged, MovedAside };
        How how;
        std::filesystem::path from;
        std::filesystem::path to;
        std::filesystem::path aside;  // MovedAside: where the replaced `to` waits
    };
    Temporary& AddTemporary(const std::filesystem::path& path, LeftoverKind kind, UniqueFd lock);
    void PlaceWithoutReplacing(const std::filesystem::path& from, const std::filesystem::path& to);
    void PlaceReplacing(const std::filesystem::path& from, const std::filesystem::path& to);
    void UndoPlacements() noexcept;

    std::optional<DeferredInterrupts> deferred_;  // first member: released after everything else
    std::filesystem::path folder_;
    std::string name_;
    std::vector<std::unique_ptr<InterruptLeftover>> created_folders_;
    std::vector<std::filesystem::path> created_folder_paths_;
    std::vector<std::unique_ptr<Temporary>> temporaries_;
    std::vector<Placement> placements_;
    bool committed_ = false;
};

// The exact temporary names of an e-book NAME: whether `entry` is one of them.
bool IsTemporaryFileName(const std::string& entry, const std::string& name);
bool IsTemporaryFolderName(const std::string& entry, const std::string& name);

}  // namespace quillora::pack
