#pragma once

#include <cstddef>
#include <string_view>

namespace quillora::pack {

// The number of single-byte insertions, deletions and replacements that turn `a` into `b`, for
// "did you mean" hints. Costs |a| x |b| steps: callers skip candidates whose length alone puts
// them out of reach.
std::size_t EditDistance(std::string_view a, std::string_view b);

// How far apart the lengths of two names are, which bounds their edit distance from below.
std::size_t LengthGap(std::string_view a, std::string_view b);

}  // namespace quillora::pack
