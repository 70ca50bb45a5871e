#include "deb_writer.hpp"

#include <glib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <memory>
#include <sstream>

#include "common/error.hpp"
#include "common/temporary_folder.hpp"
#include "desktop_launcher.hpp"
#include "errno_text.hpp"
#include "interrupt_cleanup.hpp"
#include "package_files.hpp"
#include "payload/payload_writer.hpp"
#include "program_run.hpp"
#include "runtime_symbols.hpp"
#include "search/search_index.hpp"

namespace quillora::pack {
namespace {

namespace fs = std::filesystem;

constexpr fs::perms FolderMode = static_cast<fs::perms>(0755);
constexpr fs::perms FileMode = static_cast<fs::perms>(0644);
constexpr fs::perms ProgramMode = static_cast<fs::perms>(0755);

void MakeFolders(const fs::path& root, const fs::path& relative)
{
    fs::path folder = root;
    for (const auto& part : relative) {
        folder /= part;
        std::error_code error;
        fs::create_directory(folder, error);
        if (error) {
            throw quillora::Error("cannot make the folder " + folder.string() + ": " + error.message());
        }
        fs::permissions(folder, FolderMode);
    }
}

void WriteFile(const fs::path& path, std::string_view bytes, fs::perms mode = FileMode)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        throw quillora::Error("cannot write " + path.string() + ": " + ErrnoText());
    }
    fs::permissions(path, mode);
}

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in) {
        throw quillora::Error("cannot read " + path.string() + ": " + ErrnoText());
    }
    return text.str();
}

// A text file compressed as Debian wants documentation: gzip -9, without name or time, so that
// the same book makes the same bytes.
void WriteCompressed(const fs::path& path, std::string_view text)
{
    WriteFile(path, text);
    RunProgram({{"gzip", "-9n", "-f", path.string()}, {}, {}});
    fs::permissions(path.string() + ".gz", FileMode);
}

// The date of the changelog entry: SOURCE_DATE_EPOCH when set, for reproducible builds.
std::string ChangelogDate()
{
    std::time_t now = std::time(nullptr);
    if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH"); epoch != nullptr && *epoch != '\0') {
        now = static_cast<std::time_t>(std::strtoll(epoch, nullptr, 10));
    }
    std::tm utc{};
    ::gmtime_r(&now, &utc);
    char text[64];
    // English names whatever the locale: the format knows no other.
    static constexpr const char* Days[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static constexpr const char* Months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                             "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::snprintf(text, sizeof text, "%s, %02d %s %04d %02d:%02d:%02d +0000", Days[utc.tm_wday], utc.tm_mday,
                  Months[utc.tm_mon], utc.tm_year + 1900, utc.tm_hour, utc.tm_min, utc.tm_sec);
    return text;
}

// The runtime without symbols: a copy is stripped only when it carries any (a build that
// splits its debug information off has none left).
std::string StrippedRuntime(const std::string& image, const fs::path& scratch)
{
    if (!CarriesSymbols(image)) {
        return image;
    }
    if (!ProgramOnPath("strip")) {
        throw quillora::Error("the runtime carries debug symbols, and no strip program (from the "
                              "package binutils) was found to take them out of the package's copy");
    }
    const fs::path copy = scratch / "runtime";
    WriteFile(copy, image, ProgramMode);
    RunProgram({{"strip", "--remove-section=.comment", "--remove-section=.note", copy.string()}, {}, {}});
    return ReadFile(copy);
}

// Every folder 0755, every file 0644 (what a copied page folder holds may have other modes).
void SetModes(const fs::path& folder)
{
    fs::permissions(folder, FolderMode);
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_symlink()) {
            continue;
        }
        fs::permissions(entry.path(), entry.is_directory() ? FolderMode : FileMode);
    }
}

// The size dpkg shows: each file's size rounded up to a KiB, and one KiB for each other entry.
std::uintmax_t InstalledKib(const fs::path& root)
{
    std::uintmax_t kib = 0;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.path().filename() == "DEBIAN" && entry.is_directory()) {
            continue;
        }
        kib += entry.is_regular_file() && !entry.is_symlink() ? (entry.file_size() + 1023) / 1024 : 1;
    }
    return kib;
}

// The MD5 checksum of a file in hexadecimal, as DEBIAN/md5sums lists it for dpkg to tell changed
// files by.
std::string Md5Sum(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    const std::unique_ptr<GChecksum, decltype(&g_checksum_free)> sum(g_checksum_new(G_CHECKSUM_MD5), &g_checksum_free);
    char buffer[65536];
    while (in) {
        in.read(buffer, sizeof buffer);
        g_checksum_update(sum.get(), reinterpret_cast<const guchar*>(buffer), in.gcount());
    }
    if (in.bad() || !in.eof()) {
        throw quillora::Error("cannot read " + path.string() + ": " + ErrnoText());
    }
    return g_checksum_get_string(sum.get());
}

}  // namespace

std::string DebFileName(const PackageMetadata& metadata, const RuntimePackageFacts& facts)
{
    return metadata.name + "_" + metadata.version + "_" + facts.architecture + ".deb";
}

void WriteDebPackage(const DebRequest& request)
{
    const auto& metadata = request.metadata;
    const auto temporary = quillora::TemporaryFolder::Create("quillora-deb");
    const fs::path root = temporary.Path() / "root";
    MakeFolders(temporary.Path(), "root");

    const fs::path library = PackageBookFolder(metadata);
    MakeFolders(root, library);
    const std::string runtime = StrippedRuntime(request.runtime_image, temporary.Path());
    // Named after the package: the window's app id follows the book's file name, and so matches
    // the launcher, PACKAGE.desktop.
    WriteFile(root / library / metadata.name, AppendPayload(runtime, request.payload_text), ProgramMode);
    for (const auto& folder : request.page_folders) {
        const fs::path copy = root / library / folder.name;
        CopyPageFolder(folder, copy);
        if (request.search_index) {
            quillora::WriteSearchIndexFile(copy);
        }
        SetModes(copy);
    }

    MakeFolders(root, "usr/bin");
    fs::create_symlink(fs::path("../lib") / metadata.name / metadata.name, root / "usr/bin" / metadata.name);
    MakeFolders(root, "usr/share/applications");
    WriteFile(root / "usr/share/applications" / (metadata.name + ".desktop"), PackageLauncherText(metadata));
    MakeFolders(root, "usr/share/icons/hicolor/scalable/apps");
    WriteFile(root / "usr/share/icons/hicolor/scalable/apps" / (metadata.name + ".svg"), ProgramIconSvg());
    MakeFolders(root, "usr/share/metainfo");
    // Named after its component id, as AppStream 1.0 asks (its validator, and so lintian, warns otherwise).
    WriteFile(root / "usr/share/metainfo" / (ComponentId(metadata) + ".metainfo.xml"), MetainfoText(metadata));
    const fs::path doc = fs::path("usr/share/doc") / metadata.name;
    MakeFolders(root, doc);
    WriteFile(root / doc / "copyright", CopyrightText(metadata, request.runtime_version));
    WriteCompressed(root / doc / "changelog", ChangelogText(metadata, request.runtime_version, ChangelogDate()));
    MakeFolders(root, "usr/share/man/man1");
    WriteCompressed(root / "usr/share/man/man1" / (metadata.name + ".1"), ManPageText(metadata));

    MakeFolders(root, "DEBIAN");
    const auto installed = InstalledKib(root);
    std::string sums;
    for (const auto& entry : fs::recursive_directory_iterator(root / "usr")) {
        if (entry.is_regular_file() && !entry.is_symlink()) {
            sums += Md5Sum(entry.path()) + "  " + fs::relative(entry.path(), root).string() + "\n";
        }
    }
    WriteFile(root / "DEBIAN/md5sums", sums);
    WriteFile(root / "DEBIAN/control",
              ControlText(metadata, request.facts.architecture, request.facts.depends, installed));

    const fs::path output = fs::absolute(request.output);
    const fs::path hidden = output.parent_path() / ("." + output.filename().string() + ".part");
    std::error_code error;
    fs::remove(hidden, error);
    const InterruptLeftover leftover(hidden, LeftoverKind::File);
    try {
        RunProgram({{"dpkg-deb", "--root-owner-group", "--build", root.string(), hidden.string()}, {}, {}});
        if (!request.replace && fs::exists(fs::symlink_status(output, error))) {
            throw quillora::Error(request.output.string() + " already exists (use --force to replace it)");
        }
        fs::rename(hidden, output);
    } catch (...) {
        fs::remove(hidden, error);
        throw;
    }
}

}  // namespace quillora::pack
