#include "menu_check.hpp"

#include <optional>
#include <set>
#include <string_view>
#include <utility>

#include "action_check.hpp"
#include "common/ascii_case.hpp"
#include "menu/menu_bounds.hpp"
#include "menu/menu_labels.hpp"
#include "menu/menu_model.hpp"
#include "menu/profile_reader.hpp"
#include "payload/text_encoding.hpp"

namespace quillora::pack {
namespace {

constexpr std::string_view Subject = "menu";

bool IsKnownSection(std::string_view name)
{
    for (const auto known : {menu_keys::Menus, menu_keys::Items, menu_keys::SubItems, menu_keys::Actions}) {
        if (SameProfileName(name, known)) {
            return true;
        }
    }
    return false;
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

// Reads "PREFIX" followed by numbers joined by `separators` (one number more than separators),
// then `suffix`.
std::optional<std::vector<int>> ParseKey(std::string_view key, std::string_view prefix, std::string_view separators,
                                         std::string_view suffix)
{
    if (key.size() < prefix.size() || !SameProfileName(key.substr(0, prefix.size()), prefix)) {
        return std::nullopt;
    }
    key.remove_prefix(prefix.size());
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

class MenuChecker {
public:
    MenuChecker(const std::vector<SourceMenuLine>& lines, const std::string& file, Diagnostics& diagnostics)
        : file_(file)
        , diagnostics_(diagnostics)
    {
        // A CR inside a source line ends a line of the e-book's text as well.
        std::string text;
        for (const auto& line : lines) {
            for (const char c : line.text) {
                if (c == '\r') {
                    source_lines_.push_back(line.line);
                }
            }
            source_lines_.push_back(line.line);
            text += line.text;
            text += '\n';
        }
        profile_ = ProfileText::Parse(text);
        built_ = BuildBoundedMenu(profile_);
    }

    void Run()
    {
        ReportNotes();
        for (const auto& section : profile_.Sections()) {
            if (!IsKnownSection(section.name)) {
                UnknownSection(section.line, section.name);
            }
        }
        CheckMenus();
        CheckItemLists(menu_keys::Items, "ITENS_", "", "", "is not ITENS_0, ITENS_1, ...");
        CheckItemLists(menu_keys::SubItems, "ITENS-|", ".", "|", "is not ITENS-|i.j|");
        CheckActions();
        CheckBounds();
        CheckCaptionLengths();
    }

    // The actions of the items that exist, which the menu can run.
    std::vector<MenuAction> Actions() const
    {
        std::vector<MenuAction> actions;
        for (const auto& key : Keys(menu_keys::Actions)) {
            const auto parsed = ActionItem(key.name);
            if (parsed && Entry(*parsed) != nullptr) {
                actions.push_back({key.name, key.value, SourceLine(key.line)});
            }
        }
        return actions;
    }

private:
    // Profile lines count from 1 in the text made of the menu lines; the source counts its own.
    int SourceLine(int profile_line) const { return source_lines_[static_cast<std::size_t>(profile_line - 1)]; }
    void Error(int line, std::string message)
    {
        diagnostics_.Error(file_, SourceLine(line), std::string(Subject), std::move(message));
    }
    void Warning(int line, std::string message)
    {
        diagnostics_.Warning(file_, SourceLine(line), std::string(Subject), std::move(message));
    }

    void UnknownSection(int line, const std::string& name)
    {
        Warning(line, "unknown section [" + name + "]; the menu reads [GERAL], [MENU], [SUBMENUS] and [ACOES]");
    }

    void ReportNotes()
    {
        bool outside_warned = false;
        for (const auto& note : profile_.Notes()) {
            switch (note.kind) {
            case ProfileNoteKind::KeyOutsideSection:
                if (!outside_warned) {
                    Warning(note.line, "KEY=value line before the first section; the menu never reads it");
                    outside_warned = true;
                }
                break;
            case ProfileNoteKind::NotAKeyLine:
                Warning(note.line, "the line is neither a [SECTION] nor a KEY=value line; the menu never reads it");
                break;
            case ProfileNoteKind::EmptyKeyName:
                Warning(note.line, "the line has no key before '='; the menu never reads it");
                break;
            case ProfileNoteKind::UnclosedHeader: Error(note.line, "a section header ends with ']'"); break;
            case ProfileNoteKind::RepeatedSection:
                if (IsKnownSection(note.name)) {
                    Error(note.line, "section [" + AsciiUpperCopy(note.name) + "] is given twice (first on line " +
                                         std::to_string(SourceLine(note.earlier_line)) + ")");
                } else {
                    UnknownSection(note.line, note.name);
                }
                break;
            case ProfileNoteKind::RepeatedKey:
                if (IsKnownSection(note.section)) {
                    Error(note.line, note.name + " is given twice in [" + AsciiUpperCopy(note.section) +
                                         "] (first on line " + std::to_string(SourceLine(note.earlier_line)) + ")");
                }
                break;
            case ProfileNoteKind::ValueCut:
                if (IsKnownSection(note.section)) {
                    Error(note.line, "the value of " + note.name + " is " + std::to_string(note.length) +
                                         " characters long; the menu reads only the first 2047");
                }
                break;
            }
        }
    }

    const std::vector<ProfileKey>& Keys(std::string_view section) const
    {
        static const std::vector<ProfileKey> none;
        const auto* found = profile_.FindSection(section);
        return found == nullptr ? none : found->keys;
    }

    // The menu bar has one menu per key of [GERAL], whatever the key is called, and takes their
    // captions from MENU_0, MENU_1, ...: anything else shows wrong or empty menus.
    void CheckMenus()
    {
        const auto& keys = Keys(menu_keys::Menus);
        const int count = static_cast<int>(keys.size());
        std::set<int> numbers;
        for (const auto& key : keys) {
            const auto parsed = ParseKey(key.name, "MENU_", "", "");
            if (!parsed) {
                Error(key.line, "key " + key.name + " in [GERAL] is not MENU_0, MENU_1, ...");
                continue;
            }
            numbers.insert(parsed->front());
            if (key.value.empty()) {
                Warning(key.line, key.name + " gives its menu an empty caption");
            }
            if (parsed->front() >= count) {
                Error(key.line, key.name + " is never read: with " + std::to_string(count) +
                                    " keys in [GERAL] the menus are MENU_0 to MENU_" + std::to_string(count - 1));
            }
        }
        for (int i = 0; i < count; ++i) {
            if (!numbers.contains(i)) {
                Error(profile_.FindSection(menu_keys::Menus)->line,
                      "[GERAL] has no MENU_" + std::to_string(i) + " (menus are numbered from MENU_0 without gaps)");
            }
        }
    }

    // The built entry that `numbers` names, if the build made one.
    const MenuEntry* Entry(const std::vector<int>& numbers) const
    {
        const MenuEntry* entry = &built_.bar;
        for (const int n : numbers) {
            if (static_cast<std::size_t>(n) >= entry->children.size()) {
                return nullptr;
            }
            entry = &entry->children[static_cast<std::size_t>(n)];
        }
        return entry;
    }

    // [MENU] and [SUBMENUS]: each key the build reads names an existing menu or item and should
    // give it entries.
    void CheckItemLists(std::string_view section, std::string_view prefix, std::string_view separators,
                        std::string_view suffix, const std::string& shape)
    {
        for (const auto& key : Keys(section)) {
            const auto parsed = ParseKey(key.name, prefix, separators, suffix);
            if (!parsed) {
                Warning(key.line, "key " + key.name + " in [" + std::string(section) + "] " + shape +
                                      "; the menu never reads it");
                continue;
            }
            const auto* owner = Entry(*parsed);
            if (owner == nullptr) {
                if (PastTheBounds()) {
                    continue;
                }
                Warning(key.line, key.name + " is never read: " +
                                      (parsed->size() == 1 ? "[GERAL] has no MENU_" + std::to_string(parsed->front())
                                                           : "there is no item " + MenuItemName(*parsed)));
            } else if (CutCaptionList(key.value).empty()) {
                Warning(key.line, key.name + " gives " + (parsed->size() == 1 ? "its menu" : "its item") +
                                      " no entries: the caption list is empty");
            }
        }
    }

    // The item that a key of [ACOES] names: MENUxi_j or MENUxi_j_k.
    static std::optional<std::vector<int>> ActionItem(std::string_view name)
    {
        auto parsed = ParseKey(name, "MENUx", "_", "");
        return parsed ? parsed : ParseKey(name, "MENUx", "__", "");
    }

    void CheckActions()
    {
        for (const auto& key : Keys(menu_keys::Actions)) {
            const auto parsed = ActionItem(key.name);
            if (!parsed) {
                Warning(key.line, "key " + key.name +
                                      " in [ACOES] is not an item name such as MENUx0_1 or MENUx0_1_2; "
                                      "the menu never reads it");
                continue;
            }
            if (Entry(*parsed) == nullptr) {
                if (!PastTheBounds()) {
                    Warning(key.line, key.name + " is never read: there is no item " + MenuItemName(*parsed));
                }
                continue;
            }
            for (const auto& word : UnknownCommandWords(key.value)) {
                Warning(key.line, "unknown command " + word + CommandWordHint(word) + " in the action of " + key.name +
                                      "; the e-book passes over it");
            }
        }
    }

    // A menu past its bounds is built only in part, so "never read" would be said of every key
    // past the cut as well: the bounds' errors say enough.
    bool PastTheBounds() const { return !built_.overflows.empty(); }

    // The line of a key, or of its section when the key is missing.
    int KeyLine(std::string_view section, std::string_view key) const
    {
        const auto* found = profile_.FindSection(section);
        const auto* entry = found == nullptr ? nullptr : found->FindKey(key);
        return entry != nullptr ? entry->line : found != nullptr ? found->line : 1;
    }

    // The key that gives the list of entries below `owner`, and its line.
    std::pair<std::string, int> ListKey(const std::vector<int>& owner) const
    {
        const auto key = owner.size() == 1 ? menu_keys::ItemList(owner[0]) : menu_keys::SubItemList(owner[0], owner[1]);
        return {key, KeyLine(owner.size() == 1 ? menu_keys::Items : menu_keys::SubItems, key)};
    }

    // The e-book builds no more than the bounds of its menu; a book that needs more is refused.
    void CheckBounds()
    {
        for (const auto& overflow : built_.overflows) {
            switch (overflow.bound) {
            case MenuOverflow::Bound::Menus:
                Error(Keys(menu_keys::Menus)[MaxMenus].line, "[GERAL] has " + std::to_string(overflow.given) +
                                                                 " keys: the menu bar holds at most " +
                                                                 std::to_string(MaxMenus) + " menus");
                break;
            case MenuOverflow::Bound::List: {
                const auto [key, line] = ListKey(overflow.owner);
                Error(line, key + " gives " + std::to_string(overflow.given) +
                                (overflow.owner.size() == 1 ? " items: a menu holds at most "
                                                            : " sub-items: an item holds at most ") +
                                std::to_string(MaxEntriesPerList));
                break;
            }
            case MenuOverflow::Bound::AllEntries: {
                const auto [key, line] = ListKey(overflow.owner);
                Error(line, key + " takes the menu past " + std::to_string(MaxMenuEntries) +
                                " entries (menus, items and sub-items together), the most the e-book builds");
                break;
            }
            }
        }
    }

    void LongCaption(int line, const std::string& name, const std::string& caption)
    {
        const auto length = Utf8Length(PlainCaption(caption));
        if (length > static_cast<std::size_t>(MaxShownCaptionLength)) {
            Warning(line, "the caption of " + name + " is " + std::to_string(length) +
                              " characters long; the menu shows about the first " +
                              std::to_string(MaxShownCaptionLength) + ", then '…'");
        }
    }

    void CheckCaptionLengths()
    {
        const auto& menus = built_.bar.children;
        for (int i = 0; i < static_cast<int>(menus.size()); ++i) {
            const auto caption_key = menu_keys::MenuCaption(i);
            LongCaption(KeyLine(menu_keys::Menus, caption_key), caption_key,
                        menus[static_cast<std::size_t>(i)].caption);
            const auto& items = menus[static_cast<std::size_t>(i)].children;
            for (int j = 0; j < static_cast<int>(items.size()); ++j) {
                const auto& item = items[static_cast<std::size_t>(j)];
                LongCaption(ListKey({i}).second, item.name, item.caption);
                for (const auto& sub : item.children) {
                    LongCaption(ListKey({i, j}).second, sub.name, sub.caption);
                }
            }
        }
    }

    std::vector<int> source_lines_;  // the source line of each profile line
    const std::string& file_;
    Diagnostics& diagnostics_;
    ProfileText profile_;
    BuiltMenu built_;
};

}  // namespace

void CheckMenuDefinition(const std::vector<SourceMenuLine>& lines, const std::string& file, Diagnostics& diagnostics)
{
    MenuChecker(lines, file, diagnostics).Run();
}

std::vector<MenuAction> MenuActions(const std::vector<SourceMenuLine>& lines)
{
    const std::string no_file;
    Diagnostics unused;
    return MenuChecker(lines, no_file, unused).Actions();
}

}  // namespace quillora::pack
