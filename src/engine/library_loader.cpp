#include "engine/library_loader.hpp"

#include <dlfcn.h>

#include <memory>
#include <vector>

namespace quillora {

namespace {

struct LibraryCloser {
    void operator()(void* handle) const { dlclose(handle); }
};
using LibraryHandle = std::unique_ptr<void, LibraryCloser>;

// The loader's last error text, or a plain one if it has none.
std::string LoaderError(const char* library)
{
    const char* text = dlerror();
    return text != nullptr ? text : std::string(library) + ": cannot be loaded";
}

}  // namespace

void LoadLibraryFunctions(std::span<const char* const> libraries, std::span<const LibraryFunction> functions)
{
    std::vector<LibraryHandle> handles;
    for (const char* library : libraries) {
        // Bound at once, so a library that does not fit its own dependencies fails here, where
        // it can be reported, rather than at its first call; global, so that the libraries after
        // it, and GTK looking up types by name, see its symbols.
        LibraryHandle handle(dlopen(library, RTLD_NOW | RTLD_GLOBAL));
        if (!handle) {
            throw LibraryLoadError(LoaderError(library), library);
        }
        handles.push_back(std::move(handle));
    }

    std::vector<void*> found;
    found.reserve(functions.size());
    for (const LibraryFunction& function : functions) {
        void* address = nullptr;
        for (const LibraryHandle& handle : handles) {
            address = dlsym(handle.get(), function.name);
            if (address != nullptr) break;
        }
        if (address == nullptr) {
            const std::string last = libraries.empty() ? "" : libraries.back();
            throw LibraryLoadError(last + " has no function " + function.name, last);
        }
        found.push_back(address);
    }
    for (std::size_t i = 0; i < functions.size(); ++i) {
        *functions[i].slot = found[i];
    }
    // The slots now point into the libraries: they must never be unloaded.
    for (LibraryHandle& handle : handles) {
        (void)handle.release();
    }
}

}  // namespace quillora
