#include "book_check.hpp"

#include <cstdio>
#include <deque>
#include <optional>
#include <set>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "action_check.hpp"
#include "actions/action_text.hpp"
#include "actions/book_paths.hpp"
#include "book/action_link.hpp"
#include "book/page_path.hpp"
#include "book_address.hpp"
#include "common/ascii_case.hpp"
#include "common/error.hpp"
#include "common/percent_escape.hpp"
#include "menu_check.hpp"
#include "page_scan.hpp"
#include "payload/setting_index.hpp"
#include "search/book_pages.hpp"
#include "stored_path.hpp"

namespace quillora::pack {
namespace {

namespace fs = std::filesystem;

// Where the faults of one place are reported: a page, or a setting or menu line of the source.
struct Place {
    std::string file;
    int line = 0;
    std::string subject;
};

struct Page {
    std::string path;  // below the e-book's folder: pages/maps.html
    fs::path from;     // the file that is read
    std::pair<dev_t, ino_t> identity{};
    PageScan scan;
    bool reached = false;
    std::string base;             // what its relative references are relative to: itself,
    bool base_elsewhere = false;  // or a <base href> in the book, or one outside it
};

class BookChecker {
public:
    BookChecker(const LoadedBook& book, PageFaults faults, Diagnostics& diagnostics)
        : book_(book)
        , faults_(faults)
        , diagnostics_(diagnostics)
    {}

    void Run()
    {
        IndexFiles();
        home_ = PageOfSetting(setting::home_page);
        for (auto& page : pages_) {
            auto [scan, failure] = ScanPage(page.from);
            if (failure) {
                Fault({page.path, 0, ""}, *failure);
            }
            page.scan = std::move(scan);
            SetBase(page);
        }
        Reach(home_);
        Reach(PageOfSetting(setting::home_button_alt_page));
        CheckSourceActions();
        for (std::size_t index = 0; index < pages_.size(); ++index) {
            CheckPage(index);
        }
        ReportUnreachable();
    }

private:
    void IndexFiles()
    {
        for (const auto& folder : book_.plan.page_folders) {
            for (const auto& entry : folder.entries) {
                std::string path = folder.name + '/' + entry.relative.generic_string();
                if (entry.is_folder) {
                    folders_.insert(std::move(path));
                    continue;
                }
                if (IsPageName(entry.relative.filename().string())) {
                    page_index_.emplace(path, pages_.size());
                    Page page;
                    page.path = path;
                    page.from = entry.from;
                    page.identity = {entry.device, entry.inode};
                    pages_.push_back(std::move(page));
                }
                files_.insert(std::move(path));
            }
            folders_.insert(folder.name);
        }
    }

    void SetBase(Page& page) const
    {
        page.base = page.path;
        if (page.scan.base) {
            const auto base = ResolveBookAddress(*page.scan.base, page.path);
            page.base_elsewhere = base.kind != BookAddress::Kind::InBook;
            const bool folder = base.names_folder || base.path.empty() || folders_.contains(base.path);
            page.base = folder ? base.path + '/' : base.path;
        }
    }

    // Where a reference written in a page leads.
    static BookAddress Resolve(const Page& page, const std::string& written)
    {
        auto address = ResolveBookAddress(written, page.base);
        if (page.base_elsewhere &&
            (address.kind == BookAddress::Kind::InBook || address.kind == BookAddress::Kind::Outside)) {
            address.kind = BookAddress::Kind::Web;
        }
        return address;
    }

    // The page that a page setting names, below the e-book's folder; none when it names none.
    std::optional<std::string> PageOfSetting(int index) const
    {
        const auto& value = book_.plan.settings[static_cast<std::size_t>(index)];
        if (value.empty()) {
            return std::nullopt;
        }
        const auto resolved = ResolvePagePath(value, {});
        const auto* page = std::get_if<ResolvedPage>(&resolved);
        return page == nullptr ? std::nullopt : std::optional(page->folder_name + '/' + page->file_name);
    }

    // Reaching a page reaches what it links to; the walk runs once all pages are known.
    void Reach(const std::optional<std::string>& path)
    {
        if (path) {
            if (const auto found = page_index_.find(*path); found != page_index_.end()) {
                pending_.push_back(found->second);
            }
        }
    }

    void Fault(const Place& place, std::string message)
    {
        if (faults_ == PageFaults::AreErrors) {
            diagnostics_.Error(place.file, place.line, place.subject, std::move(message));
        } else {
            Warning(place, std::move(message));
        }
    }
    void Warning(const Place& place, std::string message)
    {
        diagnostics_.Warning(place.file, place.line, place.subject, std::move(message));
    }

    void CheckSourceActions()
    {
        const int line = book_.plan.lines[setting::startup_action];
        CheckAction(book_.plan.settings[setting::startup_action],
                    {book_.file, line, SettingSubject(SettingAt(setting::startup_action).name)}, false);
        std::vector<SourceMenuLine> menu;
        for (std::size_t i = 0; i < book_.plan.menu.size(); ++i) {
            menu.push_back({book_.plan.lines[SettingCount + i], book_.plan.menu[i]});
        }
        for (const auto& item : MenuActions(menu)) {
            CheckAction(item.action, {book_.file, item.line, "menu"}, false);
        }
    }

    // The LOADHTML commands of an action string; the unknown command words too when it comes
    // from a page (the source's own actions have theirs reported with the settings and menu).
    // The source's actions reach the pages they open; a page's reach only when it is reached.
    void CheckAction(std::string_view action, const Place& place, bool from_page)
    {
        if (from_page) {
            for (const auto& word : UnknownCommandWords(action)) {
                Warning(place, "unknown command " + word + CommandWordHint(word) +
                                   " in an action link; the e-book passes over it");
            }
        }
        for (const auto& authored : LoadHtmlPaths(action)) {
            const auto target = LoadHtmlTarget(authored);
            if (!target) {
                continue;
            }
            if (!files_.contains(*target)) {
                ReportLoadHtml(authored, *target, place);
            } else if (!from_page) {
                Reach(target);
            }
        }
    }

    // The parameters of the LOADHTML commands of an action string, as the e-book reads them.
    static std::vector<std::string> LoadHtmlPaths(std::string_view action)
    {
        std::vector<std::string> paths;
        for (const auto& command : SplitCommands(action)) {
            const std::string cleaned = CleanCommand(command);
            if (CommandWord(cleaned) == "LOADHTML") {
                paths.push_back(QuotedParameter(1, cleaned));
            }
        }
        return paths;
    }

    // What LOADHTML opens, below the e-book's folder: the e-book drops as many characters of
    // the path as stand before the page folder's name in the stored home page, and opens the
    // rest beside itself. None while the home page names no page (reported with the settings).
    std::optional<std::string> LoadHtmlTarget(const std::string& authored) const
    {
        if (!home_) {
            return std::nullopt;
        }
        try {
            const auto& home = book_.plan.settings[setting::home_page];
            return fs::path(LocalPathOf(RebaseBookPath(home, authored))).lexically_normal().generic_string();
        } catch (const quillora::Error&) {
            return std::nullopt;
        }
    }

    void ReportLoadHtml(const std::string& authored, const std::string& target, const Place& place)
    {
        const bool names_a_path = !target.empty() && !target.starts_with('/') && !target.starts_with("..");
        std::string message =
            "LOADHTML \"" + authored + "\"" +
            (names_a_path ? " opens " + target + ", which is not a file of the book" : " opens no page of the book");
        // A path written as the source writes pages (pages/maps.html) instead of as the e-book
        // stores them loses its first characters.
        const std::string local = fs::path(LocalPathOf(authored)).lexically_normal().generic_string();
        if (files_.contains(local)) {
            std::string stored(StoredPathRoot);
            for (const char c : local) {
                stored += c == '/' ? '\\' : c;
            }
            message += " (write LOADHTML \"" + stored + "\")";
        }
        Fault(place, std::move(message));
    }

    // A byte the page's encoding lacks: the page still shows, with a stand-in for the byte.
    void ReportUndecodable(const Page& page, const UndecodableByte& stray)
    {
        char byte[5];
        std::snprintf(byte, sizeof byte, "0x%02X", stray.value);
        Warning({page.path, stray.line, ""},
                std::string("byte ") + byte + " is no character of " + stray.encoding +
                    ", the encoding the e-book reads this page in" +
                    (stray.encoding_is_default ? " (a page that declares no encoding it knows; for UTF-8 write "
                                                 "<meta charset=\"utf-8\">)"
                                               : ""));
    }

    void CheckPage(std::size_t index)
    {
        const Page& page = pages_[index];
        // In line order with the references' faults.
        auto undecodable = page.scan.first_undecodable;
        for (const auto& reference : page.scan.references) {
            if (undecodable && undecodable->line <= reference.line) {
                ReportUndecodable(page, *std::exchange(undecodable, std::nullopt));
            }
            const Place place{page.path, reference.line, ""};
            const bool navigates = reference.kind == ReferenceKind::Link || reference.kind == ReferenceKind::Frame;
            const auto address = Resolve(page, reference.address);
            const std::string shown =
                std::string(ReferenceKindName(reference.kind)) + " '" + EngineAddress(reference.address) + "'";
            switch (address.kind) {
            case BookAddress::Kind::Action:
                if (navigates) {
                    CheckAction(ActionStringOf(EngineAddress(reference.address)), place, true);
                }
                break;
            case BookAddress::Kind::Web: break;
            case BookAddress::Kind::Absolute:
                Fault(place, shown + " is an absolute file path, which the reader's machine does not have; "
                                     "write it relative to the page");
                break;
            case BookAddress::Kind::Outside: Fault(place, shown + " leads out of the e-book's folder"); break;
            case BookAddress::Kind::InBook: CheckInBook(address, shown, place); break;
            }
        }
        if (undecodable) {
            ReportUndecodable(page, *undecodable);
        }
    }

    void CheckInBook(const BookAddress& address, const std::string& shown, const Place& place)
    {
        if (address.path.empty() || folders_.contains(address.path)) {
            return;
        }
        if (!files_.contains(address.path) || address.names_folder) {
            Fault(place, shown + ": " + Missing(address.path));
            return;
        }
        const auto found = page_index_.find(address.path);
        if (found == page_index_.end()) {
            return;
        }
        const auto& anchors = pages_[found->second].scan.anchors;
        const std::string& fragment = address.fragment;
        if (address.has_fragment && !fragment.empty() && !EqualsIgnoringCase(fragment, "top") &&
            !anchors.contains(fragment) && !anchors.contains(PercentDecoded(fragment))) {
            Warning(place, shown + ": " + address.path + " has no anchor named '" + fragment + "'");
        }
    }

    // Why a path is not in the book: left out by the walk, or not there (with the file whose name
    // differs only in letter case, which another system may have let pass). The lookups are
    // made at the first miss, so that a book of many dangling links costs no more per link.
    std::string Missing(const std::string& path)
    {
        if (files_by_lower_case_.empty()) {
            for (const auto& file : files_) {
                files_by_lower_case_.emplace(AsciiLowerCopy(file), file);
            }
            for (const auto& folder : book_.plan.page_folders) {
                for (const auto& item : folder.left_out) {
                    left_out_.emplace(folder.name + '/' + item.relative.generic_string(), item.reason);
                }
            }
        }
        if (const auto why = left_out_.find(path); why != left_out_.end()) {
            return path + " is left out of the e-book: " + why->second;
        }
        const auto similar = files_by_lower_case_.find(AsciiLowerCopy(path));
        return path + " is not a file of the book" +
               (similar == files_by_lower_case_.end() ? "" : " (did you mean " + similar->second + "?)");
    }

    void ReportUnreachable()
    {
        // The pages in reach of the home page, along links, frames and LOADHTML.
        while (!pending_.empty()) {
            const std::size_t index = pending_.front();
            pending_.pop_front();
            if (pages_[index].reached) {
                continue;
            }
            pages_[index].reached = true;
            for (const auto& reference : pages_[index].scan.references) {
                if (reference.kind == ReferenceKind::Link || reference.kind == ReferenceKind::Frame) {
                    ReachFrom(pages_[index], reference.address);
                }
            }
        }
        if (!home_ || !page_index_.contains(*home_)) {
            return;  // nothing can be reached without a home page
        }
        // A link in the page folder copies a reached page under a second name: that is reached.
        std::set<std::pair<dev_t, ino_t>> reached_files;
        for (const auto& page : pages_) {
            if (page.reached) {
                reached_files.insert(page.identity);
            }
        }
        for (const auto& page : pages_) {
            if (!page.reached && !reached_files.contains(page.identity)) {
                Warning({page.path, 0, ""}, "no link leads to this page from the home page");
            }
        }
    }

    void ReachFrom(const Page& page, const std::string& written)
    {
        const auto address = Resolve(page, written);
        if (address.kind == BookAddress::Kind::InBook) {
            Reach(address.path);
        } else if (address.kind == BookAddress::Kind::Action) {
            for (const auto& authored : LoadHtmlPaths(ActionStringOf(EngineAddress(written)))) {
                Reach(LoadHtmlTarget(authored));
            }
        }
    }

    const LoadedBook& book_;
    PageFaults faults_;
    Diagnostics& diagnostics_;
    std::vector<Page> pages_;
    std::unordered_map<std::string, std::size_t> page_index_;
    std::unordered_set<std::string> files_;
    std::unordered_set<std::string> folders_;
    std::unordered_map<std::string, std::string> files_by_lower_case_;  // made at the first miss
    std::unordered_map<std::string, std::string> left_out_;             // path -> why, likewise
    std::optional<std::string> home_;
    std::deque<std::size_t> pending_;
};

}  // namespace

void CheckBookPages(const LoadedBook& book, PageFaults faults, Diagnostics& diagnostics)
{
    if (book.plan.settings.size() != static_cast<std::size_t>(SettingCount)) {
        return;  // the source could not be read
    }
    BookChecker(book, faults, diagnostics).Run();
}

}  // namespace quillora::pack
