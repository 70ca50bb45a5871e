#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillora {

// The layers in which an action string is read. Text is UTF-8: lengths count characters, and
// every character outside ASCII counts as one character outside 33..126 ('!' to '~').

// The commands of an action string: the pieces between the separators "-@-", empty pieces
// included; the piece after the last separator only when it is not empty. No command in "".
std::vector<std::string> SplitCommands(std::string_view action);

// Without leading and trailing characters outside 33..126, at most 255 characters long (cut
// before the trailing ones are dropped, so a cut never leaves a blank at the end).
std::string CleanCommand(std::string_view command);

// Item n (from 1) of the text cut at every occurrence of `separator` (ASCII letters compared
// without regard to case) and at every CR, LF and CR LF. A NUL ends the text; a break at the very
// end opens no empty last item. Empty when there are fewer than n items.
std::string NthItem(int n, std::string_view separator, std::string_view text);

// The command's first item cut at blanks and line breaks, with a..z in capitals.
std::string CommandWord(std::string_view command);

// The characters strictly between the first and the last `c`; the whole text without `c`;
// empty when `c` occurs once.
std::string TextBetween(std::string_view text, char c);

// Field n (from 1) of the command cut at "==", between its outermost double quotes.
std::string QuotedParameter(int n, std::string_view command);

}  // namespace quillora
