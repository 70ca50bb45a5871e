#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillora::pack {

// The command words of an action string that the runtime does not know, in order. The runtime
// passes over such a command without a word, so a misspelt command (WEBHOME without its "()",
// say) would otherwise go unnoticed until a reader clicks.
std::vector<std::string> UnknownCommandWords(std::string_view action);

// " (did you mean WEBHOME()?)" for a word that differs from a known one by its "()" or by at
// most two letters (WEBHOM(), WEBHOMME()); otherwise empty.
std::string CommandWordHint(std::string_view word);

}  // namespace quillora::pack
