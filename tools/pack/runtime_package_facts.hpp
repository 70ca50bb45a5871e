#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace quillora::pack {

// What a book's package needs to know about the runtime it is built on, recorded when the
// runtime was built (dpkg-shlibdeps over it and over the web engine's libraries), so that making
// a package needs no compiler and no development package: the machine's package architecture
// and the packages that provide the runtime's libraries.
struct RuntimePackageFacts {
    std::string architecture;
    std::string depends;
};

// The file beside the runtime `runtime` that holds its facts: RUNTIME.depends.
std::filesystem::path RuntimePackageFactsPath(const std::filesystem::path& runtime);

// Reads the "Architecture: ..." and "Depends: ..." lines of such a file; `name` names it in
// messages. Throws an Error when the architecture is missing.
RuntimePackageFacts ParseRuntimePackageFacts(std::string_view text, const std::string& name);

// Reads the facts recorded for `runtime`; throws an Error that says how to get them when the
// file is missing or cannot be read.
RuntimePackageFacts ReadRuntimePackageFacts(const std::filesystem::path& runtime);

}  // namespace quillora::pack
