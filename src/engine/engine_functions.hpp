#pragma once

#include <span>

#include "engine/library_loader.hpp"

namespace quillora {

// Every engine function the runtime calls, each with the slot its stand-in jumps through.
// Generated at build time from engine_functions.list, with the stand-ins.
[[nodiscard]] std::span<const LibraryFunction> EngineFunctions();

}  // namespace quillora
