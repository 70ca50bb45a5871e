#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillora::pack {

// One problem found in a book source, reported as "FILE:LINE: setting NAME: message" in the
// way compilers report theirs, so that editors can jump to the line.
struct Diagnostic {
    enum class Severity { Error, Warning };

    Severity severity = Severity::Error;
    std::string file;
    int line = 0;         // 0: the problem has no line (a default value, a missing file)
    std::string subject;  // "setting title", "menu", or empty
    std::string message;

    std::string Format() const;
};

// Collects the problems of one run; nothing is written while it holds an error.
class Diagnostics {
public:
    void Error(std::string file, int line, std::string subject, std::string message);
    void Warning(std::string file, int line, std::string subject, std::string message);

    bool HasErrors() const;
    int ErrorCount() const;
    const std::vector<Diagnostic>& All() const { return items_; }
    // Every problem in the order found, one formatted line each.
    std::string FormatAll() const;
    // Every problem in the order found: for reports over many files, already in their order.
    std::string FormatAsFound() const;

private:
    std::vector<Diagnostic> items_;
};

// "setting NAME", the subject of a problem with one setting.
std::string SettingSubject(std::string_view name);

}  // namespace quillora::pack
