#include "appearance/message_text.hpp"

namespace quillora {

namespace {

bool IsLineEnd(char c)
{
    return c == '\n' || c == '\r';
}
bool IsUtf8Continuation(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

}  // namespace

std::string WithParagraphBreaks(std::string_view text, std::size_t max_paragraph)
{
    if (max_paragraph == 0) return std::string(text);
    constexpr std::size_t None = std::string::npos;
    std::string out;
    out.reserve(text.size() + text.size() / max_paragraph + 1);
    std::size_t start = 0;          // of the current paragraph in `out`
    std::size_t last_blank = None;  // in it, after its first byte
    for (const char c : text) {
        if (IsLineEnd(c)) {
            out += c;
            start = out.size();
            last_blank = None;
            continue;
        }
        if (out.size() - start >= max_paragraph) {
            // With c the paragraph would be too long: end it at its last blank...
            if (last_blank != None) {
                out[last_blank] = '\n';
                start = last_blank + 1;
                last_blank = None;
            } else {
                // ...or, without one, before the character that c belongs to.
                std::size_t cut = out.size();
                if (IsUtf8Continuation(c)) {
                    while (cut > start && IsUtf8Continuation(out[cut - 1])) --cut;
                    cut = cut > start ? cut - 1 : out.size();  // no lead byte: not UTF-8
                }
                out.insert(cut, 1, '\n');  // at most three bytes from the end
                start = cut + 1;
            }
        }
        if (c == ' ' && out.size() > start) last_blank = out.size();
        out += c;
    }
    return out;
}

}  // namespace quillora
