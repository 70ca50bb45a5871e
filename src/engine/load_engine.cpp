// The runtime's own: only the runtime carries the stand-ins for the engine's functions; the
// tests and the tools link the engine.
#include "engine/load_engine.hpp"

#ifdef QUILLORA_ENGINE_AT_RUN_TIME

#include <cstdio>
#include <cstdlib>

#include "engine/engine_functions.hpp"
#include "engine/missing_engine.hpp"

// Where every stand-in jumps before the engine is loaded: a call that early is a fault of the
// program, stopped here rather than at address 0.
extern "C" __attribute__((visibility("hidden"), noreturn, used)) void quillora_engine_not_loaded()
{
    std::fputs("quillora: the engine was called before it was loaded\n", stderr);
    std::abort();
}

namespace quillora {

void LoadEngine()
{
    LoadLibraryFunctions(EngineLibraries, EngineFunctions());
}

}  // namespace quillora

#else

namespace quillora {

void LoadEngine() {}

}  // namespace quillora

#endif
