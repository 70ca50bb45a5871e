#include "package_metadata.hpp"

#include <string_view>
#include <type_traits>

#include "common/ascii_case.hpp"
#include "payload/setting_index.hpp"

namespace quillora::pack {
namespace {

// The about box starts a new line of its texts at this mark.
constexpr std::string_view LineMark = "<!>";

std::vector<std::string> SplitLines(std::string_view text)
{
    std::vector<std::string> lines;
    for (;;) {
        const auto mark = text.find(LineMark);
        lines.emplace_back(Trim(text.substr(0, mark)));
        if (mark == std::string_view::npos) {
            break;
        }
        text.remove_prefix(mark + LineMark.size());
    }
    while (!lines.empty() && lines.back().empty()) {
        lines.pop_back();
    }
    return lines;
}

// One field's value with where it came from, for messages.
struct Given {
    std::string value;
    int line = 0;
    std::string subject;
    std::string from_setting;  // the setting the value was taken from; empty when set directly
};

// The words that name a field in messages: "the package name", ...
std::string_view FieldWords(PackageField field)
{
    switch (field) {
    case PackageField::Name: return "the package name";
    case PackageField::Version: return "the package version";
    case PackageField::Maintainer: return "the package maintainer";
    case PackageField::Summary: return "the package summary";
    }
    return "";
}

class Resolver {
public:
    Resolver(const LoadedBook& book, const PackageOverrides& overrides, Diagnostics& diagnostics)
        : book_(book)
        , overrides_(overrides)
        , diagnostics_(diagnostics)
    {}

    PackageMetadata Resolve()
    {
        PackageMetadata metadata;
        metadata.title = Setting(setting::title);
        metadata.web_address = Setting(setting::about_web_address);
        metadata.copyright = Setting(setting::about_copyright);
        metadata.description = SplitLines(Setting(setting::about_description));

        metadata.name = Check(PackageField::Name, Taken(PackageField::Name, setting::title, metadata.title),
                              PackageNameProblem, SuggestPackageName);
        const auto version = Taken(PackageField::Version, setting::about_version, Setting(setting::about_version));
        if (version.value.empty() && !version.from_setting.empty()) {
            Missing(version, PackageField::Version, "a version", " (such as 1.0)");
        } else {
            metadata.version = Check(PackageField::Version, version, PackageVersionProblem, SuggestPackageVersion);
        }

        const auto& email = Setting(setting::about_email);
        const auto maintainer = Taken(PackageField::Maintainer, setting::about_email,
                                      email.empty() ? std::string() : metadata.title + " <" + email + ">");
        if (maintainer.value.empty() && !maintainer.from_setting.empty()) {
            Missing(maintainer, PackageField::Maintainer, "a maintainer", " = Name <address>");
        } else {
            metadata.maintainer = Check(PackageField::Maintainer, maintainer, MaintainerProblem, nullptr);
        }

        std::string first_line = metadata.description.empty() ? "" : metadata.description.front();
        if (!first_line.empty() && first_line.back() == '.' && !first_line.ends_with("..")) {
            first_line.pop_back();  // a summary is no sentence
        }
        const auto summary = Taken(PackageField::Summary, setting::about_description, first_line);
        if (Trim(summary.value).empty() && !summary.from_setting.empty()) {
            Missing(summary, PackageField::Summary, "a summary", "");
        } else {
            metadata.summary = Check(PackageField::Summary, summary, SummaryProblem, nullptr);
        }
        return metadata;
    }

private:
    const std::string& Setting(int index) const { return book_.plan.settings[static_cast<std::size_t>(index)]; }

    // The value of `field`: the option, the package field of the source, or the setting `index`.
    Given Taken(PackageField field, int index, std::string derived) const
    {
        const auto slot = static_cast<std::size_t>(field);
        if (overrides_[slot]) {
            return {*overrides_[slot], 0, "option " + PackageFieldOption(field), ""};
        }
        if (book_.package[slot]) {
            return {book_.package[slot]->value, book_.package[slot]->line, SettingSubject(PackageFieldKey(field)), ""};
        }
        const auto name = std::string(SettingAt(index).name);
        return {std::move(derived), book_.plan.lines[static_cast<std::size_t>(index)], SettingSubject(name), name};
    }

    void Missing(const Given& given, PackageField field, std::string_view what, std::string_view example)
    {
        diagnostics_.Error(book_.file, given.line, given.subject,
                           "the package needs " + std::string(what) + ": set " + std::string(PackageFieldKey(field)) +
                               std::string(example) + " or " + given.from_setting);
    }

    template <typename Rule, typename Suggest>
    std::string Check(PackageField field, const Given& given, Rule rule, Suggest suggest)
    {
        const auto problem = rule(given.value);
        if (!problem) {
            return given.value;
        }
        std::string suggestion;
        if constexpr (!std::is_same_v<Suggest, std::nullptr_t>) {
            suggestion = suggest(given.value);
        }
        const std::string key(PackageFieldKey(field));
        std::string message = std::string(FieldWords(field)) + " '" + given.value + "'";
        if (!given.from_setting.empty()) {
            message += ", taken from " + std::string(given.line == 0 ? "the default " : "") + given.from_setting +
                       ", " + *problem + "; set " + key + (suggestion.empty() ? "" : " = " + suggestion);
        } else {
            message += " " + *problem + (suggestion.empty() ? "" : " (did you mean " + suggestion + "?)");
        }
        diagnostics_.Error(book_.file, given.line, given.subject, message);
        return {};
    }

    const LoadedBook& book_;
    const PackageOverrides& overrides_;
    Diagnostics& diagnostics_;
};

// The host of a web address ("https://user@www.example.org:8080/x" -> "www.example.org").
std::string_view HostOf(std::string_view address)
{
    if (const auto scheme = address.find("://"); scheme != std::string_view::npos) {
        address.remove_prefix(scheme + 3);
    }
    address = address.substr(0, address.find_first_of("/?#"));
    if (const auto at = address.rfind('@'); at != std::string_view::npos) {
        address.remove_prefix(at + 1);
    }
    return address.substr(0, address.find(':'));
}

// One part of a component id: lower-case letters, digits and '_', not starting with a digit.
std::string IdPart(std::string_view text)
{
    std::string part;
    for (const char c : text) {
        const char lower = AsciiLower(c);
        part += IsAsciiAlnum(lower) ? lower : '_';
    }
    if (!part.empty() && part.front() >= '0' && part.front() <= '9') {
        part.insert(0, 1, '_');
    }
    return part;
}

}  // namespace

std::string PackageFieldOption(PackageField field)
{
    std::string option = "--" + std::string(PackageFieldKey(field));
    for (char& c : option) {
        c = c == '_' ? '-' : c;
    }
    return option;
}

PackageMetadata ResolvePackageMetadata(const LoadedBook& book, const PackageOverrides& overrides,
                                       Diagnostics& diagnostics)
{
    return Resolver(book, overrides, diagnostics).Resolve();
}

std::string ComponentId(const PackageMetadata& metadata)
{
    std::string_view host = HostOf(metadata.web_address);
    if (host.find('.') == std::string_view::npos) {
        const std::string_view maintainer = metadata.maintainer;
        const auto at = maintainer.rfind('@');
        host = at == std::string_view::npos ? std::string_view("localhost")
                                            : maintainer.substr(at + 1, maintainer.size() - at - 2);
    }
    std::vector<std::string> labels;
    while (!host.empty()) {
        const auto dot = host.find('.');
        const auto label = host.substr(0, dot);
        if (!label.empty() && !EqualsIgnoringCase(label, "www")) {
            labels.push_back(IdPart(label));
        }
        if (dot == std::string_view::npos) {
            break;
        }
        host.remove_prefix(dot + 1);
    }
    std::string id;
    for (auto label = labels.rbegin(); label != labels.rend(); ++label) {
        id += *label + '.';
    }
    return id + IdPart(metadata.name);
}

}  // namespace quillora::pack
