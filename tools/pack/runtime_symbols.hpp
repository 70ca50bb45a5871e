#pragma once

#include <string_view>

namespace quillora::pack {

// The ELF program image carries a symbol table or debug information, which a package's copy of
// the runtime leaves out. Anything that is not a little-endian ELF file carries none that this
// could tell, and is taken as it is.
bool CarriesSymbols(std::string_view image);

}  // namespace quillora::pack
