#include "runtime_package_facts.hpp"

#include <fstream>
#include <sstream>

#include "common/error.hpp"

namespace quillora::pack {

std::filesystem::path RuntimePackageFactsPath(const std::filesystem::path& runtime)
{
    return runtime.string() + ".depends";
}

RuntimePackageFacts ParseRuntimePackageFacts(std::string_view text, const std::string& name)
{
    RuntimePackageFacts facts;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        const auto colon = line.find(':');
        if (colon == std::string_view::npos) {
            continue;
        }
        auto value = line.substr(colon + 1);
        while (!value.empty() && (value.front() == ' ' || value.front() == '\t')) {
            value.remove_prefix(1);
        }
        while (!value.empty() && (value.back() == ' ' || value.back() == '\r')) {
            value.remove_suffix(1);
        }
        const auto key = line.substr(0, colon);
        if (key == "Architecture") {
            facts.architecture = value;
        } else if (key == "Depends") {
            facts.depends = value;
        }
    }
    if (facts.architecture.empty()) {
        throw quillora::Error(name + " names no Architecture");
    }
    return facts;
}

RuntimePackageFacts ReadRuntimePackageFacts(const std::filesystem::path& runtime)
{
    const auto path = RuntimePackageFactsPath(runtime);
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw quillora::Error("cannot make a package on the runtime " + runtime.string() + ": " + path.string() +
                              ", which names the packages it needs, is missing "
                              "(it is written when the runtime is built on Debian or Ubuntu)");
    }
    std::ostringstream text;
    text << in.rdbuf();
    return ParseRuntimePackageFacts(text.str(), path.string());
}

}  // namespace quillora::pack
