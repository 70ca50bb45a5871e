#pragma once

namespace quillora {

// Loads WebKitGTK 4.1 and JavaScriptCore and points every engine call of the runtime at them.
// Call before anything touches the engine. Throws LibraryLoadError naming the library that
// cannot be loaded, or the function an older engine lacks. Where the build links the engine
// directly (architectures without the stand-in jumps) it does nothing.
void LoadEngine();

}  // namespace quillora
