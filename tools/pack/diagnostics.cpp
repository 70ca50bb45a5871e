#include "diagnostics.hpp"

#include <algorithm>
#include <climits>

namespace quillora::pack {

std::string Diagnostic::Format() const
{
    std::string text = file;
    if (line > 0) {
        text += ':' + std::to_string(line);
    }
    text += ": ";
    if (severity == Severity::Warning) {
        text += "warning: ";
    }
    if (!subject.empty()) {
        text += subject + ": ";
    }
    return text + message;
}

void Diagnostics::Error(std::string file, int line, std::string subject, std::string message)
{
    items_.push_back({Diagnostic::Severity::Error, std::move(file), line, std::move(subject), std::move(message)});
}

void Diagnostics::Warning(std::string file, int line, std::string subject, std::string message)
{
    items_.push_back({Diagnostic::Severity::Warning, std::move(file), line, std::move(subject), std::move(message)});
}

bool Diagnostics::HasErrors() const
{
    return ErrorCount() > 0;
}

int Diagnostics::ErrorCount() const
{
    return static_cast<int>(std::count_if(items_.begin(), items_.end(), [](const Diagnostic& item) {
        return item.severity == Diagnostic::Severity::Error;
    }));
}

namespace {

std::string FormatEach(const std::vector<Diagnostic>& items)
{
    std::string text;
    for (const auto& item : items) {
        text += item.Format() + '\n';
    }
    return text;
}

}  // namespace

std::string Diagnostics::FormatAll() const
{
    // In line order, as a reader walks the file; problems without a line come last.
    auto sorted = items_;
    std::stable_sort(sorted.begin(), sorted.end(), [](const Diagnostic& a, const Diagnostic& b) {
        const auto key = [](const Diagnostic& d) { return d.line > 0 ? d.line : INT_MAX; };
        return key(a) < key(b);
    });
    return FormatEach(sorted);
}

std::string Diagnostics::FormatAsFound() const
{
    return FormatEach(items_);
}

std::string SettingSubject(std::string_view name)
{
    return "setting " + std::string(name);
}

}  // namespace quillora::pack
