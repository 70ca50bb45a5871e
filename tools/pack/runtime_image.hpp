#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace quillora::pack {

// The bytes of a runtime executable to build an e-book on. When the file already carries a
// payload (it is an e-book itself), only the program in front of its settings text is kept, so
// that an e-book never carries two payloads. Fails with an Error when the file cannot be read,
// is empty, or carries a trailer whose text does not end right before it (then the program's
// end cannot be told).
std::string ReadRuntimeImage(const std::filesystem::path& runtime);

// The same for bytes already in memory; `name` is used in messages.
std::string BareRuntimeImage(std::string bytes, std::string_view name);

}  // namespace quillora::pack
