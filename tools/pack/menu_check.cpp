#include "menu_check.hpp"

#include <algorithm>
#include <map>
#include <optional>
#include <set>

#include "action_check.hpp"
#include "payload/text_encoding.hpp"

namespace quillora::pack {
namespace {

constexpr std::size_t MaxValueLength = 2047;  // the reader cuts every value after this
constexpr std::string_view Subject = "menu";

std::string_view Trim(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string Upper(std::string_view text)
{
    std::string result(text);
    for (char& c : result) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return result;
}

// Drops one pair of matching quotes that encloses the whole value, as the reader does.
std::string_view Unquote(std::string_view value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

// A number as menu names spell it: decimal digits without a leading zero.
std::optional<int> ReadIndex(std::string_view& text)
{
    std::size_t length = 0;
    while (length < text.size() && text[length] >= '0' && text[length] <= '9') {
        ++length;
    }
    if (length == 0 || length > 6 || (length > 1 && text[0] == '0')) {
        return std::nullopt;
    }
    const int value = std::stoi(std::string(text.substr(0, length)));
    text.remove_prefix(length);
    return value;
}

bool Consume(std::string_view& text, std::string_view upper_prefix)
{
    if (text.size() < upper_prefix.size() || Upper(text.substr(0, upper_prefix.size())) != upper_prefix) {
        return false;
    }
    text.remove_prefix(upper_prefix.size());
    return true;
}

// Reads "PREFIX" followed by `count` numbers joined by `separators`, then `suffix`.
std::optional<std::vector<int>> ParseKey(std::string_view key, std::string_view prefix,
                                         std::string_view separators, std::string_view suffix)
{
    if (!Consume(key, prefix)) {
        return std::nullopt;
    }
    std::vector<int> numbers;
    for (std::size_t i = 0;; ++i) {
        const auto number = ReadIndex(key);
        if (!number) {
            return std::nullopt;
        }
        numbers.push_back(*number);
        if (i == separators.size()) {
            break;
        }
        if (key.empty() || key.front() != separators[i]) {
            return std::nullopt;
        }
        key.remove_prefix(1);
    }
    if (key != suffix) {
        return std::nullopt;
    }
    return numbers;
}

struct KeyLine {
    int line = 0;
    std::string key;
    std::string value;
};

struct Section {
    int line = 0;
    std::vector<KeyLine> keys;
};

class MenuChecker {
public:
    MenuChecker(const std::string& file, Diagnostics& diagnostics)
        : file_(file), diagnostics_(diagnostics)
    {
    }

    void Run(const std::vector<SourceMenuLine>& lines)
    {
        for (const auto& line : lines) {
            ReadLine(line.line, line.text);
        }
        CheckMenus();
        CheckItems();
        CheckSubItems();
        CheckActions();
    }

private:
    void Error(int line, std::string message) { diagnostics_.Error(file_, line, std::string(Subject), std::move(message)); }
    void Warning(int line, std::string message) { diagnostics_.Warning(file_, line, std::string(Subject), std::move(message)); }

    void ReadLine(int number, std::string_view raw)
    {
        const auto text = Trim(raw);
        // A ';' line is a comment only while it holds no '=': otherwise a reader may well take
        // it for a key, and in [GERAL] every key makes a menu.
        if (text.empty() || (text.front() == ';' && text.find('=') == std::string_view::npos)) {
            return;
        }
        if (text.front() == '[') {
            if (text.back() != ']') {
                Error(number, "a section header ends with ']'");
                current_ = nullptr;
                return;
            }
            OpenSection(number, Trim(text.substr(1, text.size() - 2)));
            return;
        }
        const auto equals = text.find('=');
        if (equals == std::string_view::npos) {
            Warning(number, "the line is neither a [SECTION] nor a KEY=value line; the menu never reads it");
            return;
        }
        if (current_ == nullptr) {
            if (!outside_warned_) {
                Warning(number, "KEY=value line before the first section; the menu never reads it");
                outside_warned_ = true;
            }
            return;
        }
        const auto key = Trim(text.substr(0, equals));
        const auto value = Unquote(Trim(text.substr(equals + 1)));
        if (const auto length = Utf8Length(value); length > MaxValueLength) {
            Error(number, "the value of " + std::string(key) + " is " + std::to_string(length) +
                              " characters long; the menu reads only the first 2047");
        }
        for (const auto& earlier : current_->keys) {
            if (Upper(earlier.key) == Upper(key)) {
                Error(number, std::string(key) + " is given twice in [" + current_name_ +
                                  "] (first on line " + std::to_string(earlier.line) + ")");
                return;
            }
        }
        current_->keys.push_back({number, std::string(key), std::string(value)});
    }

    void OpenSection(int number, std::string_view name)
    {
        current_name_ = Upper(name);
        static const std::set<std::string> known = {"GERAL", "MENU", "SUBMENUS", "ACOES"};
        if (!known.contains(current_name_)) {
            Warning(number, "unknown section [" + std::string(name) +
                                "]; the menu reads [GERAL], [MENU], [SUBMENUS] and [ACOES]");
            current_ = &ignored_;
            ignored_.keys.clear();
            return;
        }
        if (const auto found = sections_.find(current_name_); found != sections_.end()) {
            Error(number, "section [" + current_name_ + "] is given twice (first on line " +
                              std::to_string(found->second.line) + ")");
            current_ = &ignored_;
            ignored_.keys.clear();
            return;
        }
        current_ = &sections_[current_name_];
        current_->line = number;
    }

    const std::vector<KeyLine>& Keys(const std::string& section) const
    {
        static const std::vector<KeyLine> none;
        const auto found = sections_.find(section);
        return found == sections_.end() ? none : found->second.keys;
    }

    // The menu bar has one menu per key of [GERAL], whatever the key is called, and takes their
    // captions from MENU_0, MENU_1, ...: anything else shows wrong or empty menus.
    void CheckMenus()
    {
        const auto& keys = Keys("GERAL");
        menu_count_ = static_cast<int>(keys.size());
        std::set<int> numbers;
        for (const auto& key : keys) {
            const auto parsed = ParseKey(key.key, "MENU_", "", "");
            if (!parsed) {
                Error(key.line, "key " + key.key + " in [GERAL] is not MENU_0, MENU_1, ...");
                continue;
            }
            numbers.insert(parsed->front());
            if (key.value.empty()) {
                Warning(key.line, key.key + " gives its menu an empty caption");
            }
        }
        for (const auto& key : keys) {
            const auto parsed = ParseKey(key.key, "MENU_", "", "");
            if (parsed && parsed->front() >= menu_count_) {
                Error(key.line, key.key + " is never read: with " + std::to_string(menu_count_) +
                                    " keys in [GERAL] the menus are MENU_0 to MENU_" +
                                    std::to_string(menu_count_ - 1));
            }
        }
        for (int i = 0; i < menu_count_; ++i) {
            if (!numbers.contains(i) && !keys.empty()) {
                Error(sections_.at("GERAL").line,
                      "[GERAL] has no MENU_" + std::to_string(i) +
                          " (menus are numbered from MENU_0 without gaps)");
            }
        }
    }

    void CheckItems()
    {
        for (const auto& key : Keys("MENU")) {
            const auto parsed = ParseKey(key.key, "ITENS_", "", "");
            if (!parsed) {
                Warning(key.line, "key " + key.key + " in [MENU] is not ITENS_0, ITENS_1, ...; the menu never reads it");
                continue;
            }
            const int menu = parsed->front();
            if (menu >= menu_count_) {
                Warning(key.line, key.key + " is never read: [GERAL] has no MENU_" + std::to_string(menu));
                continue;
            }
            items_[menu] = static_cast<int>(CutCaptionList(key.value).size());
        }
    }

    int ItemCount(int menu) const
    {
        const auto found = items_.find(menu);
        return found == items_.end() ? 0 : found->second;
    }

    int SubItemCount(int menu, int item) const
    {
        const auto found = sub_items_.find({menu, item});
        return found == sub_items_.end() ? 0 : found->second;
    }

    std::string ItemName(const std::vector<int>& numbers) const
    {
        std::string name = "MENUx";
        for (std::size_t i = 0; i < numbers.size(); ++i) {
            if (i > 0) name += '_';
            name += std::to_string(numbers[i]);
        }
        return name;
    }

    void CheckSubItems()
    {
        for (const auto& key : Keys("SUBMENUS")) {
            const auto parsed = ParseKey(key.key, "ITENS-|", ".", "|");
            if (!parsed) {
                Warning(key.line, "key " + key.key + " in [SUBMENUS] is not ITENS-|i.j|; the menu never reads it");
                continue;
            }
            const int menu = (*parsed)[0];
            const int item = (*parsed)[1];
            if (item >= ItemCount(menu)) {
                Warning(key.line, key.key + " is never read: there is no item " + ItemName(*parsed));
                continue;
            }
            sub_items_[{menu, item}] = static_cast<int>(CutCaptionList(key.value).size());
        }
    }

    void CheckActions()
    {
        for (const auto& key : Keys("ACOES")) {
            auto parsed = ParseKey(key.key, "MENUX", "_", "");
            if (!parsed) {
                parsed = ParseKey(key.key, "MENUX", "__", "");
            }
            if (!parsed) {
                Warning(key.line, "key " + key.key +
                                      " in [ACOES] is not an item name such as MENUx0_1 or MENUx0_1_2; "
                                      "the menu never reads it");
                continue;
            }
            const auto& n = *parsed;
            const bool exists = n.size() == 2 ? n[1] < ItemCount(n[0])
                                              : n[2] < SubItemCount(n[0], n[1]);
            if (!exists) {
                Warning(key.line, key.key + " is never read: there is no item " + ItemName(n));
                continue;
            }
            for (const auto& word : UnknownCommandWords(key.value)) {
                Warning(key.line, "unknown command " + word + CommandWordHint(word) + " in the action of " +
                                      key.key + "; the e-book passes over it");
            }
        }
    }

    const std::string& file_;
    Diagnostics& diagnostics_;
    std::map<std::string, Section> sections_;
    Section ignored_;
    Section* current_ = nullptr;
    std::string current_name_;
    bool outside_warned_ = false;
    int menu_count_ = 0;
    std::map<int, int> items_;
    std::map<std::pair<int, int>, int> sub_items_;
};

}  // namespace

std::vector<std::string> CutCaptionList(std::string_view value)
{
    constexpr std::string_view separator = "-@-";
    std::vector<std::string> pieces;
    for (;;) {
        const auto at = value.find(separator);
        if (at == std::string_view::npos) {
            break;
        }
        pieces.emplace_back(value.substr(0, at));
        value.remove_prefix(at + separator.size());
    }
    if (!value.empty()) {
        pieces.emplace_back(value);
    }
    return pieces;
}

void CheckMenuDefinition(const std::vector<SourceMenuLine>& lines, const std::string& file,
                         Diagnostics& diagnostics)
{
    MenuChecker(file, diagnostics).Run(lines);
}

}  // namespace quillora::pack
