#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "package_rules.hpp"

namespace quillora::pack {

enum class Mode { Pack, Check, Dump, Help, Version };

enum class OutputEncoding { Utf8, Windows1252 };

struct CommandLine {
    Mode mode = Mode::Pack;
    std::string source;                  // SOURCE of pack and --check, BOOK of --dump
    std::optional<std::string> output;   // OUTPUT of pack
    std::optional<std::string> runtime;  // --runtime PATH
    bool force = false;                  // --force
    bool include_hidden = false;         // --include-hidden
    bool search_index = true;            // cleared by --no-search-index
    OutputEncoding encoding = OutputEncoding::Utf8;
    bool deb = false;          // --deb: a Debian package of the book too (or checked)
    PackageOverrides package;  // --package-name and the other package fields
};

// A command line that cannot be understood; reported with a hint to --help and exit code 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads the arguments after the program name.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// The text of --help.
std::string HelpText();

}  // namespace quillora::pack
