#include "book/book_addresses.hpp"

#include <glib.h>

#include <filesystem>
#include <system_error>

#include "common/error.hpp"
#include "common/gobject_ptr.hpp"

namespace quillora {

namespace {

// `path` with `from` at its start replaced by `to`; unchanged when it does not start so, or when
// either folder is not known.
std::string WithFolderReplaced(const std::string& path, const std::string& from, const std::string& to)
{
    if (from.empty() || to.empty() || path.compare(0, from.size(), from) != 0) {
        return path;
    }
    return to + path.substr(from.size());
}

}  // namespace

BookAddresses BookAddresses::ForFolder(const std::string& folder)
{
    BookAddresses addresses;
    addresses.folder_ = folder;
    if (g_utf8_validate(folder.data(), static_cast<gssize>(folder.size()), nullptr)) {
        return addresses;
    }
    addresses.link_home_ = TemporaryFolder::Create("quillora-book");
    const std::filesystem::path link = addresses.link_home_.Path() / "book";
    std::error_code error;
    std::filesystem::create_directory_symlink(folder, link, error);
    if (error) {
        throw Error("Cannot show the pages of the book in " + folder + ": " + error.message());
    }
    addresses.engine_folder_ = link.string() + "/";
    return addresses;
}

std::string BookAddresses::AddressOf(const std::string& path) const
{
    const std::string engine_path = WithFolderReplaced(path, folder_, engine_folder_);
    GError* raw_error = nullptr;
    const GCharPtr address(g_filename_to_uri(engine_path.c_str(), nullptr, &raw_error));
    const GErrorPtr error(raw_error);
    if (!address) {
        throw Error("Cannot navigate to " + path + ": " + (error ? error->message : ""));
    }
    return address.get();
}

std::string BookAddresses::PathOf(const std::string& address) const
{
    const GCharPtr path(g_filename_from_uri(address.c_str(), nullptr, nullptr));
    if (!path) {
        return {};
    }
    return WithFolderReplaced(path.get(), engine_folder_, folder_);
}

}  // namespace quillora
