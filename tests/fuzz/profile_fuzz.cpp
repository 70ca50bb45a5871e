// Fuzzes the profile reader and the menu built from what it reads. Nothing may crash; every
// value the reader hands out is at most 2047 characters and, when the input was UTF-8, is UTF-8
// too; every built item carries the name its position spells, and labels are made for every menu.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "menu/menu_labels.hpp"
#include "menu/menu_model.hpp"
#include "menu/profile_reader.hpp"
#include "payload/text_encoding.hpp"

namespace {

void Check(bool condition)
{
    if (!condition) {
        __builtin_trap();
    }
}

void CheckValue(const std::string& value, bool utf8_input)
{
    Check(quillora::Utf8Length(value) <= quillora::MaxProfileValueLength);
    Check(!utf8_input || quillora::IsValidUtf8(value));
    Check(value.find_first_of("\r\n") == std::string::npos);
}

void CheckEntries(const quillora::MenuEntry& parent, std::vector<int>& numbers)
{
    std::vector<std::string> captions;
    for (std::size_t n = 0; n < parent.children.size(); ++n) {
        const auto& child = parent.children[n];
        numbers.push_back(static_cast<int>(n));
        Check(numbers.size() == 1 ? child.name.empty() : child.name == quillora::MenuItemName(numbers));
        Check(numbers.size() <= 3);
        captions.push_back(child.caption);
        CheckEntries(child, numbers);
        numbers.pop_back();
    }
    Check(quillora::MenuLabels(captions).size() == captions.size());
    Check(quillora::ShownEntries(std::vector<bool>(captions.size(), true)).size() == captions.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const bool utf8 = quillora::IsValidUtf8(text);
    const auto profile = quillora::ProfileText::Parse(text);
    for (const auto& section : profile.Sections()) {
        Check(profile.FindSection(section.name) != nullptr);
        for (const auto& key : section.keys) {
            CheckValue(key.value, utf8);
            CheckValue(profile.Value(section.name, key.name), utf8);
        }
    }
    const auto bar = quillora::BuildMenuModel(profile);
    std::vector<int> numbers;
    CheckEntries(bar, numbers);
    for (const auto& entry : bar.children) {
        Check(quillora::PlainCaption(entry.caption).size() <= entry.caption.size());
    }
    return 0;
}
