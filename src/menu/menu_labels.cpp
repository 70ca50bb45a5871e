#include "menu/menu_labels.hpp"

#include <optional>
#include <set>

#include "common/ascii_case.hpp"

namespace quillora {
namespace {

constexpr std::string_view Separator = "-";

// A caption split into its visible text and the index in that text of its marked character.
struct Marked {
    std::string text;
    std::optional<std::size_t> mark;
};

Marked ReadMarks(std::string_view caption)
{
    Marked result;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] != '&') {
            result.text += caption[i];
        } else if (i + 1 < caption.size() && caption[i + 1] == '&') {
            result.text += '&';
            ++i;
        } else if (i + 1 < caption.size() && !result.mark) {
            result.mark = result.text.size();
        }
    }
    return result;
}

// The index of a character that can stand for the caption and is still free.
std::optional<std::size_t> FreeLetter(const std::string& text, const std::set<char>& taken)
{
    const auto free = [&](std::size_t i) { return IsAsciiAlnum(text[i]) && !taken.contains(AsciiLower(text[i])); };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool word_start = i == 0 || text[i - 1] == ' ' || text[i - 1] == '\t';
        if (word_start && free(i)) {
            return i;
        }
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (free(i)) {
            return i;
        }
    }
    return std::nullopt;
}

std::string GtkLabel(const Marked& marked)
{
    std::string label;
    for (std::size_t i = 0; i < marked.text.size(); ++i) {
        if (marked.mark == i) {
            label += '_';
        }
        label += marked.text[i];
        if (marked.text[i] == '_') {
            label += '_';
        }
    }
    return label;
}

}  // namespace

std::vector<std::string> MenuLabels(const std::vector<std::string>& captions)
{
    std::vector<Marked> marked;
    std::set<char> taken;
    for (const auto& caption : captions) {
        marked.push_back(caption == Separator ? Marked{} : ReadMarks(caption));
        const auto& last = marked.back();
        if (last.mark) {
            taken.insert(AsciiLower(last.text[*last.mark]));
        }
    }
    std::vector<std::string> labels;
    for (std::size_t n = 0; n < captions.size(); ++n) {
        auto& entry = marked[n];
        if (captions[n] != Separator && !entry.mark) {
            entry.mark = FreeLetter(entry.text, taken);
            if (entry.mark) {
                taken.insert(AsciiLower(entry.text[*entry.mark]));
            }
        }
        labels.push_back(GtkLabel(entry));
    }
    return labels;
}

std::string PlainCaption(std::string_view caption)
{
    return ReadMarks(caption).text;
}

std::vector<bool> ShownEntries(const std::vector<bool>& is_separator)
{
    std::vector<bool> shown(is_separator.size(), true);
    bool entry_before = false;  // an entry that is not a separator since the last shown separator
    for (std::size_t n = 0; n < is_separator.size(); ++n) {
        if (!is_separator[n]) {
            entry_before = true;
            continue;
        }
        shown[n] = entry_before;
        entry_before = false;
    }
    // A separator with no entry after it ends the menu.
    for (std::size_t n = is_separator.size(); n-- > 0 && is_separator[n];) {
        shown[n] = false;
    }
    return shown;
}

}  // namespace quillora
