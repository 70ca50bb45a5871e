#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillora {

// Menu captions are written with the classic toolkit's marks: "&" before a character makes it
// the access letter, "&&" is one literal "&". GTK labels use "_" for the same purpose, so these
// turn the one into the other.

// The GTK mnemonic labels of the entries of one menu (or of the menu bar), in order.
// - The first "&" followed by a character other than "&" marks that character; any later single
//   "&" (and one at the very end) is dropped, as the classic toolkit draws them.
// - "&&" shows one "&"; a "_" in a caption is doubled so that it stays visible.
// - A caption without a mark gets one: the first ASCII letter or digit that starts a word, else
//   any ASCII letter or digit, from left to right, that no other entry of the menu has taken
//   (letters compared without regard to case; marked captions take theirs first). When every
//   candidate is taken the caption gets no access letter.
// - Separators ("-") get none and take none.
[[nodiscard]] std::vector<std::string> MenuLabels(const std::vector<std::string>& captions);

// The caption as shown and as read to assistive technologies: marks removed, "&&" as "&".
[[nodiscard]] std::string PlainCaption(std::string_view caption);

// Which entries of one menu show, given which are separators: a separator shows only between
// two entries that are not separators, and only once there. Other entries always show.
[[nodiscard]] std::vector<bool> ShownEntries(const std::vector<bool>& is_separator);

}  // namespace quillora
