#pragma once

#include <span>
#include <string>
#include <utility>

#include "common/error.hpp"

namespace quillora {

// A function of a shared library that the program calls through a slot of its own.
struct LibraryFunction {
    const char* name;
    void** slot;
};

// A library that cannot be loaded, or lacks a function the program calls. The message names
// it; Library() is the file name asked for.
class LibraryLoadError : public Error {
public:
    LibraryLoadError(const std::string& message, std::string library) : Error(message), library_(std::move(library)) {}
    [[nodiscard]] const std::string& Library() const noexcept { return library_; }

private:
    std::string library_;
};

// Loads `libraries` in order (each with every symbol bound at once and visible to the ones after
// it) and finds each function in them. Only when all are found are the slots written, so a
// failure leaves every slot as it was and closes what it opened; on success the libraries stay
// loaded for the rest of the run, as the code jumping through the slots needs them.
// Throws LibraryLoadError with the loader's own text for a library it cannot load, and
// "LIBRARY has no function NAME" (LIBRARY the last of `libraries`) for a missing function.
void LoadLibraryFunctions(std::span<const char* const> libraries, std::span<const LibraryFunction> functions);

}  // namespace quillora
