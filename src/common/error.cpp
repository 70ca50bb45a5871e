#include "common/error.hpp"

namespace quillora {

Error ListIndexOutOfBounds(long long index)
{
    return Error("List index out of bounds (" + std::to_string(index) + ")");
}

}  // namespace quillora
