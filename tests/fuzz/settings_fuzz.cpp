// Fuzzes the settings list and every value conversion on its first lines. Only quillora::Error
// may escape a conversion; the Try forms must agree with the throwing ones; decimal numbers are
// checked against std::from_chars; the list, cut and converted line by line, equals the converted
// whole cut into lines; the list survives a round trip through its own text.

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/error.hpp"
#include "payload/conversions.hpp"
#include "payload/settings_list.hpp"
#include "payload/text_encoding.hpp"

namespace {

void Check(bool condition)
{
    if (!condition) {
        __builtin_trap();
    }
}

template <typename Operation>
auto Attempt(Operation operation) -> std::optional<decltype(operation())>
{
    try {
        return operation();
    } catch (const quillora::Error&) {
        return std::nullopt;
    }
}

// A line of leading blanks, an optional sign and decimal digits: the number must be accepted
// exactly when from_chars finds it in the 32-bit range, with the same value.
void CheckDecimal(std::string_view line, std::optional<std::int32_t> number)
{
    std::string_view rest = line.substr(std::min(line.find_first_not_of(' '), line.size()));
    const bool plus = !rest.empty() && rest.front() == '+';
    if (plus) {
        rest.remove_prefix(1);
    }
    const std::size_t digits_from = (!rest.empty() && rest.front() == '-' && !plus) ? 1 : 0;
    if (rest.size() <= digits_from || rest.find_first_not_of("0123456789", digits_from) != std::string_view::npos) {
        return;
    }
    std::int32_t reference = 0;
    const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), reference);
    const bool fits = error == std::errc() && end == rest.data() + rest.size();
    Check(number.has_value() == fits);
    if (fits) {
        Check(*number == reference);
    }
}

// Throwing costs far more than converting, so the throwing forms are compared with the Try
// forms on every line that converts but only on the first few per input that do not.
struct ThrowBudget {
    int left = 4;
    bool Take() { return left-- > 0; }
};

template <typename Value, typename Try, typename Throwing>
std::optional<Value> Convert(const std::string& line, Try try_form, Throwing throwing_form, ThrowBudget& budget)
{
    Value tried{};
    const bool ok = try_form(line, tried);
    if (ok || budget.Take()) {
        const auto thrown = Attempt([&] { return throwing_form(line); });
        Check(thrown.has_value() == ok);
        Check(!ok || *thrown == tried);
    }
    return ok ? std::optional<Value>(tried) : std::nullopt;
}

// What every line must be: cut at its end and decoded.
void CheckCut(const std::string& line)
{
    Check(line.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos);
    Check(quillora::IsValidUtf8(line));
}

// Lines past this many are only checked for their cut: long texts are here for the list and the
// decoding, and converting thousands of lines per input would slow every run to a crawl.
constexpr std::size_t ConvertedLines = 128;

void CheckLine(const std::string& line, ThrowBudget& budget)
{
    CheckCut(line);

    (void)Convert<bool>(
        line, [](std::string_view t, bool& v) { return quillora::TryToFlag(t, v); },
        [](std::string_view t) { return quillora::ToFlag(t); }, budget);
    const auto number = Convert<std::int32_t>(
        line, [](std::string_view t, std::int32_t& v) { return quillora::TryToNumber(t, v); },
        [](std::string_view t) { return quillora::ToNumber(t); }, budget);
    CheckDecimal(line, number);
    const auto colour = Convert<std::int32_t>(
        line, [](std::string_view t, std::int32_t& v) { return quillora::TryToToolkitColour(t, v); },
        [](std::string_view t) { return quillora::ToToolkitColour(t); }, budget);
    if (number) {
        Check(colour.has_value());
    }
    if (colour) {
        std::string name;
        if (quillora::ToolkitColourName(*colour, name)) {
            Check(quillora::ToToolkitColour(name) == *colour);
        }
    }

    const std::size_t length = quillora::Utf8Length(line);
    const std::string half = quillora::Utf8Prefix(line, length / 2);
    Check(quillora::IsValidUtf8(half));
    Check(quillora::Utf8Length(half) == length / 2);
    Check(line.compare(0, half.size(), half) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string decoded = quillora::DecodePayloadText(bytes);
    Check(quillora::IsValidUtf8(decoded));
    if (!quillora::IsValidUtf8(bytes)) {
        Check(decoded.size() == quillora::Windows1252Utf8Size(bytes));
    }

    // The list is cut and converted line by line; it must equal cutting the converted whole.
    quillora::SettingsList list = quillora::SettingsList::FromPayloadBytes(bytes);
    const std::string_view before_nul(bytes.data(), std::min(bytes.find('\0'), bytes.size()));
    const std::string whole = before_nul.size() == bytes.size() ? decoded : quillora::DecodePayloadText(before_nul);
    const std::vector<std::string> lines = list.Lines();  // copies: taken once
    Check(lines == quillora::SettingsList::FromText(whole).Lines());

    ThrowBudget budget;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i < ConvertedLines) {
            CheckLine(lines[i], budget);
        } else {
            CheckCut(lines[i]);
        }
    }

    Check(quillora::SettingsList::FromText(list.ToText()).Lines() == lines);

    const int count = list.Count();
    Check(!Attempt([&] { return list.Get(-1); }));
    Check(!Attempt([&] { return list.Get(count); }));
    if (count > 0) {
        list.Set(count - 1, "1");
        Check(list.Get(count - 1) == "1" && list.Count() == count);
    }
    return 0;
}
