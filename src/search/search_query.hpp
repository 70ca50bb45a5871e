#pragma once

#include <string>
#include <string_view>

namespace quillora {

// The reader's words as a full-text query that finds the pages holding all of them, the last
// one also as the start of a longer word when it has three characters or more (the reader may
// still be typing it; a shorter start fits too many words to help). Every word is
// quoted, so nothing the reader types is query syntax: quotes, "*", "NEAR(", "AND", "-" and
// the like are searched for as text. Empty when there are no words.
std::string FullTextQueryOf(std::string_view words);

}  // namespace quillora
