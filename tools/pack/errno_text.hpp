#pragma once

#include <cerrno>
#include <string>
#include <system_error>

namespace quillora::pack {

// The system's text for an error number, as the tool's messages end: "No such file or directory".
inline std::string ErrnoText(int error = errno)
{
    return std::generic_category().message(error);
}

}  // namespace quillora::pack
