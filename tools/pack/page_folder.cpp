#include "page_folder.hpp"

#include <fcntl.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

#include "common/error.hpp"
#include "common/unique_fd.hpp"
#include "errno_text.hpp"
#include "search/search_index.hpp"

namespace quillora::pack {
namespace {

namespace fs = std::filesystem;

bool IsHiddenName(const fs::path& name)
{
    const std::string text = name.string();
    return text.starts_with('.') && text != "." && text != "..";
}

// Both paths canonical.
bool IsWithin(const fs::path& inner, const fs::path& outer)
{
    auto [mismatch, ignored] = std::mismatch(outer.begin(), outer.end(), inner.begin(), inner.end());
    return mismatch == outer.end();
}

std::string KindOfSpecialFile(fs::file_type type)
{
    switch (type) {
    case fs::file_type::fifo: return "a named pipe";
    case fs::file_type::socket: return "a socket";
    case fs::file_type::block:
    case fs::file_type::character: return "a device";
    default: return "neither a file nor a folder";
    }
}

// Opens a file for reading; never blocks, even on a pipe put in the file's place.
UniqueFd OpenForReading(const fs::path& file)
{
    return UniqueFd(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
}

// Copies the file the walk found to `to`, without its set-id bits.
void CopyFile(const FolderEntry& entry, const fs::path& to, const std::string& shown)
{
    const UniqueFd in = OpenForReading(entry.from);
    struct stat info {};
    if (!in.Valid() || ::fstat(in.Get(), &info) != 0) {
        throw quillora::Error("cannot copy " + shown + ": " + ErrnoText());
    }
    if (!S_ISREG(info.st_mode) || info.st_dev != entry.device || info.st_ino != entry.inode) {
        throw quillora::Error("cannot copy " + shown + ": it was replaced since it was checked");
    }
    UniqueFd out(::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, info.st_mode & 0777));
    if (!out.Valid()) {
        throw quillora::Error("cannot create " + to.string() + ": " + ErrnoText());
    }
    for (;;) {
        const ssize_t sent = ::sendfile(out.Get(), in.Get(), nullptr, std::size_t{1} << 30);
        if (sent == 0) {
            break;
        }
        if (sent < 0 && errno != EINTR) {
            throw quillora::Error("cannot copy " + shown + ": " + ErrnoText());
        }
    }
    if (!out.Close()) {
        throw quillora::Error("cannot copy " + shown + ": " + ErrnoText());
    }
}

class FolderWalker {
public:
    FolderWalker(const PageFolder& folder, const FolderWalkOptions& options, Diagnostics& diagnostics)
        : options_(options)
        , diagnostics_(diagnostics)
    {
        plan_.source = folder.source;
        plan_.name = folder.name;
    }

    PlannedPageFolder Run()
    {
        std::error_code error;
        root_ = fs::canonical(plan_.source, error);
        if (!error && fs::is_directory(root_, error)) {
            walking_.push_back(root_);
            Walk(root_, {});
        }
        return std::move(plan_);
    }

private:
    // `actual` is the canonical folder read; `relative` is where its contents land.
    void Walk(const fs::path& actual, const fs::path& relative)
    {
        std::error_code error;
        std::vector<fs::path> names;
        for (fs::directory_iterator it(actual, error), end; !error && it != end; it.increment(error)) {
            names.push_back(it->path().filename());
        }
        if (error) {
            diagnostics_.Error(Shown(relative), 0, "", "cannot read the folder: " + error.message());
            return;
        }
        std::sort(names.begin(), names.end());  // problems in a stable order
        for (const auto& name : names) {
            if (!TooMany()) {
                Consider(actual / name, relative / name);
            }
        }
    }

    void Consider(const fs::path& path, const fs::path& relative)
    {
        std::error_code error;
        const auto status = fs::symlink_status(path, error);
        if (relative == quillora::SearchIndexFileName) {
            return;  // packing writes the folder's index afresh
        }
        if (IsHiddenName(relative.filename()) && !options_.include_hidden) {
            const char* kind = fs::is_directory(status) ? "a hidden folder" : "a hidden file";
            LeaveOut(relative, std::string(kind) + " (--include-hidden copies hidden names)");
        } else if (fs::is_symlink(status)) {
            FollowLink(path, relative);
        } else {
            Take(path, relative, status);
        }
    }

    // A link counts as what it points to, as long as that lies inside the page folder.
    void FollowLink(const fs::path& link, const fs::path& relative)
    {
        std::error_code error;
        const fs::path written = fs::read_symlink(link, error);
        const fs::path target = fs::canonical(link, error);
        if (error) {
            const std::string why = error == std::errc::no_such_file_or_directory
                                        ? ", which does not exist"
                                        : " that cannot be followed (" + error.message() + ")";
            LeaveOut(relative, "a link to " + written.string() + why);
            return;
        }
        if (!IsWithin(target, root_)) {
            LeaveOut(relative, "a link to " + target.string() + ", outside the page folder");
            return;
        }
        const fs::path inside = target.lexically_relative(root_);
        if (!options_.include_hidden && std::any_of(inside.begin(), inside.end(), IsHiddenName)) {
            LeaveOut(relative, "a link to the hidden " + target.string() + " (--include-hidden copies hidden names)");
            return;
        }
        if (std::find(walking_.begin(), walking_.end(), target) != walking_.end()) {
            LeaveOut(relative, "a link to " + target.string() + ", a folder that holds the link");
            return;
        }
        ++links_deep_;
        Take(target, relative, fs::status(target, error));
        --links_deep_;
    }

    // True once links have brought in as much as the walk takes; the first time, that is an error.
    bool TooMany()
    {
        if (linked_entries_ < options_.most_linked_entries) {
            return false;
        }
        if (!stopped_) {
            stopped_ = true;
            diagnostics_.Error(plan_.source.string(), 0, "",
                               "its links lead to more than " + std::to_string(options_.most_linked_entries) +
                                   " files and folders; the walk stopped there");
        }
        return true;
    }

    void Add(FolderEntry entry)
    {
        linked_entries_ += links_deep_ > 0 ? 1 : 0;
        plan_.entries.push_back(std::move(entry));
    }

    void Take(const fs::path& from, const fs::path& relative, fs::file_status status)
    {
        if (fs::is_directory(status)) {
            Add({from, relative, true});
            walking_.push_back(from);
            Walk(from, relative);
            walking_.pop_back();
        } else if (fs::is_regular_file(status)) {
            const UniqueFd file = OpenForReading(from);
            struct stat info {};
            if (!file.Valid() || ::fstat(file.Get(), &info) != 0) {
                diagnostics_.Error(Shown(relative), 0, "", "cannot read the file: " + ErrnoText());
                return;
            }
            Add({from, relative, false, info.st_dev, info.st_ino});
        } else {
            LeaveOut(relative, KindOfSpecialFile(status.type()) + ", not a page");
        }
    }

    void LeaveOut(const fs::path& relative, const std::string& reason)
    {
        diagnostics_.Warning(Shown(relative), 0, "", "left out of the e-book: " + reason);
        plan_.left_out.push_back({relative, reason});
    }

    // A path as the author knows it: below the page folder as the settings name it.
    std::string Shown(const fs::path& relative) const
    {
        return relative.empty() ? plan_.source.string() : (plan_.source / relative).string();
    }

    const FolderWalkOptions& options_;
    Diagnostics& diagnostics_;
    PlannedPageFolder plan_;
    fs::path root_;
    std::vector<fs::path> walking_;   // the canonical folders being walked, outermost first
    int links_deep_ = 0;              // how many links lead to what is walked now
    std::size_t linked_entries_ = 0;  // entries that links brought in
    bool stopped_ = false;
};

}  // namespace

std::optional<std::string> PlannedPageFolder::WhyLeftOut(const fs::path& relative) const
{
    for (const auto& item : left_out) {
        if (item.relative == relative) {
            return item.reason;
        }
    }
    return std::nullopt;
}

PlannedPageFolder PlanPageFolder(const PageFolder& folder, const FolderWalkOptions& options, Diagnostics& diagnostics)
{
    return FolderWalker(folder, options, diagnostics).Run();
}

void CopyPageFolder(const PlannedPageFolder& plan, const fs::path& destination)
{
    std::error_code error;
    if (!fs::create_directory(destination, error)) {
        throw quillora::Error("cannot create the folder " + destination.string() + ": " +
                              (error ? error.message() : "it already exists"));
    }
    for (const auto& entry : plan.entries) {
        const fs::path to = destination / entry.relative;
        const std::string shown = (plan.source / entry.relative).string();
        if (!entry.is_folder) {
            CopyFile(entry, to, shown);
        } else if (!fs::create_directory(to, error)) {
            // The default mode: a read-only source folder must not keep out its own contents.
            throw quillora::Error("cannot copy " + shown + ": " + (error ? error.message() : "it already exists"));
        }
    }
}

}  // namespace quillora::pack
