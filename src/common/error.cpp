#include "common/error.hpp"

#include <cerrno>

namespace quillora {

Error ListIndexOutOfBounds(long long index)
{
    return Error("List index out of bounds (" + std::to_string(index) + ")");
}

IoError IoErrorFromErrno(int code)
{
    if (code == ENOENT) {
        return IoError("File not found", code);
    }
    return IoError("I/O error " + std::to_string(code), code);
}

}  // namespace quillora
