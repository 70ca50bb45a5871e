#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quillora {

// The longest value the menu reads, in characters; the rest of a longer value is cut off.
inline constexpr std::size_t MaxProfileValueLength = 2047;

// The two questions the menu asks of its definition file. Section and key names are compared
// without regard to letter case (ASCII); a missing section or key reads as empty.
class ProfileReader {
public:
    virtual ~ProfileReader() = default;
    // The key names of a section in the order of the file, each once.
    [[nodiscard]] virtual std::vector<std::string> KeyNames(std::string_view section) const = 0;
    // The value of a key: the text after the first "=", blanks around it removed, one pair of
    // enclosing quotes (both ' or both ") removed, then at most 2047 characters.
    [[nodiscard]] virtual std::string Value(std::string_view section, std::string_view key) const = 0;
};

struct ProfileKey {
    std::string name;   // as written, blanks around it removed
    std::string value;  // as Value() returns it
    int line = 0;       // counted from the first line given, which is `first_line`
};

struct ProfileSection {
    std::string name;  // as written between the brackets, blanks removed
    int line = 0;
    std::vector<ProfileKey> keys;  // each name once: a repeated key is noted, not kept
    // The position in `keys` of each name, in lower case: a large definition is looked up once
    // per menu entry, and every key line is checked against the earlier ones.
    std::unordered_map<std::string, std::size_t> key_index;

    [[nodiscard]] const ProfileKey* FindKey(std::string_view key) const;
};

// Lines the reader passes over or reads only in part. The menu checker turns them into
// messages; the runtime only needs the sections.
enum class ProfileNoteKind {
    KeyOutsideSection,  // a key line before the first section header (the settings, mostly)
    NotAKeyLine,        // inside a section, neither a header, a key line nor a comment
    EmptyKeyName,       // "=value": no key to look it up by
    UnclosedHeader,     // "[NAME" without "]": ends the current section and opens none
    RepeatedSection,    // a header whose name came before: the whole later section is ignored
    RepeatedKey,        // a key whose name came before in its section: the first value counts
    ValueCut,           // a value over 2047 characters
};

struct ProfileNote {
    ProfileNoteKind kind;
    int line = 0;
    int earlier_line = 0;    // RepeatedSection and RepeatedKey: where the name first stood
    std::size_t length = 0;  // ValueCut: the full length in characters
    std::string name;        // the section or key concerned, where there is one
    std::string section;     // RepeatedKey and ValueCut: the section of the key
};

// The definition parsed from text. Lines end at CR LF, LF or CR. A line whose first non-blank
// character is ";" is a comment. A section starts at a line "[NAME]" (text after the last "]"
// is ignored) and runs to the next header; a key line holds a key, "=" and a value, blanks
// allowed around each. The first of two sections or keys of one name wins, as the classic
// profile reader answers.
class ProfileText final : public ProfileReader {
public:
    [[nodiscard]] static ProfileText Parse(std::string_view text, int first_line = 1);
    // Reads the file now; a missing or unreadable file reads as empty.
    [[nodiscard]] static ProfileText ReadFile(const std::string& path);

    [[nodiscard]] std::vector<std::string> KeyNames(std::string_view section) const override;
    [[nodiscard]] std::string Value(std::string_view section, std::string_view key) const override;

    [[nodiscard]] const ProfileSection* FindSection(std::string_view name) const;
    [[nodiscard]] const std::vector<ProfileSection>& Sections() const { return sections_; }
    [[nodiscard]] const std::vector<ProfileNote>& Notes() const { return notes_; }

private:
    std::vector<ProfileSection> sections_;
    std::unordered_map<std::string, std::size_t> section_index_;  // as key_index, for sections_
    std::vector<ProfileNote> notes_;
};

// The menu definition file as the menu reads it at a click: every question reads the file
// afresh, so a value changed or removed after start-up is seen as it now stands.
class ProfileFile final : public ProfileReader {
public:
    explicit ProfileFile(std::string path) : path_(std::move(path)) {}

    [[nodiscard]] std::vector<std::string> KeyNames(std::string_view section) const override;
    [[nodiscard]] std::string Value(std::string_view section, std::string_view key) const override;

private:
    std::string path_;
};

// ASCII letters compared without regard to case.
[[nodiscard]] bool SameProfileName(std::string_view a, std::string_view b);

}  // namespace quillora
