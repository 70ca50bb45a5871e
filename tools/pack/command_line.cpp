#include "command_line.hpp"

#include <getopt.h>

#include <algorithm>
#include <mutex>
#include <string_view>

namespace quillora::pack {
namespace {

// Values of the options that have no short form.
enum : int {
    IncludeHidden = 256,
    NoSearchIndex,
    Deb,
    PackageName,
    PackageVersion,
    PackageMaintainer,
    PackageSummary,
};

// getopt_long's table; the short options are the same letters.
constexpr option LongOptions[] = {
    {"output", required_argument, nullptr, 'o'},
    {"check", no_argument, nullptr, 'c'},
    {"dump", no_argument, nullptr, 'd'},
    {"runtime", required_argument, nullptr, 'r'},
    {"force", no_argument, nullptr, 'f'},
    {"encoding", required_argument, nullptr, 'e'},
    {"include-hidden", no_argument, nullptr, IncludeHidden},
    {"no-search-index", no_argument, nullptr, NoSearchIndex},
    {"deb", no_argument, nullptr, Deb},
    {"package-name", required_argument, nullptr, PackageName},
    {"package-version", required_argument, nullptr, PackageVersion},
    {"package-maintainer", required_argument, nullptr, PackageMaintainer},
    {"package-summary", required_argument, nullptr, PackageSummary},
    {"help", no_argument, nullptr, 'h'},
    {"version", no_argument, nullptr, 'V'},
    {nullptr, 0, nullptr, 0},
};
// '-': operands come back in order as option 1, whatever POSIXLY_CORRECT says, so that no
// argument is moved; ':': a missing value is told apart from an unknown option.
constexpr const char* ShortOptions = "-:o:cdr:fe:hV";

// getopt_long keeps its state in globals.
std::mutex getopt_state;

// The option `value` as the user wrote it: "--name" when given in long form, "-x" otherwise.
std::string OptionName(int value, bool long_form)
{
    if (long_form || value >= IncludeHidden) {
        for (const auto& entry : LongOptions) {
            if (entry.name != nullptr && entry.val == value) {
                return std::string("--") + entry.name;
            }
        }
    }
    return std::string("-") + static_cast<char>(value);
}

OutputEncoding ParseEncoding(const std::string& value)
{
    if (value == "utf-8" || value == "UTF-8" || value == "utf8") {
        return OutputEncoding::Utf8;
    }
    if (value == "windows-1252" || value == "cp1252") {
        return OutputEncoding::Windows1252;
    }
    throw UsageError("unknown encoding '" + value + "' (use utf-8 or windows-1252)");
}

class ArgumentReader {
public:
    CommandLine Read(std::vector<std::string> arguments)
    {
        char program[] = "quillora-pack";
        std::vector<char*> argv{program};
        for (auto& argument : arguments) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        const int argc = static_cast<int>(arguments.size()) + 1;

        const std::lock_guard lock(getopt_state);
        opterr = 0;
        optind = 0;  // 0, not 1: glibc then forgets the state of an earlier parse
        std::vector<std::string> operands;
        for (;;) {
            // The argument at `current` is the one this call reads (its letters, for a group
            // of short options); it tells how an option was spelt.
            const std::string current = argv[std::max(optind, 1)] ? argv[std::max(optind, 1)] : "";
            const bool long_form = current.starts_with("--");
            const int value = getopt_long(argc, argv.data(), ShortOptions, LongOptions, nullptr);
            if (value == -1) {
                break;
            }
            if (value == 1) {
                operands.emplace_back(optarg);
            } else if (value == '?') {
                throw UsageError(Unknown(current, long_form));
            } else if (value == ':') {
                throw UsageError("option '" + OptionName(optopt, long_form) + "' needs a value");
            } else {
                Apply(value, OptionName(value, long_form), optarg);
            }
        }
        for (int i = optind; i < argc; ++i) {
            operands.emplace_back(argv[i]);  // after "--"
        }
        return Finish(operands);
    }

private:
    static std::string Unknown(const std::string& current, bool long_form)
    {
        if (!long_form) {
            return "unknown option '-" + std::string(1, static_cast<char>(optopt)) + "'";
        }
        if (optopt != 0) {  // a known long option given a value it does not take
            return "option '" + OptionName(optopt, true) + "' takes no value";
        }
        // A prefix that more than one option starts with (--d: --dump or --deb) is refused too.
        const std::string given = current.substr(0, current.find('='));
        std::string matches;
        for (const auto& entry : LongOptions) {
            if (entry.name != nullptr && std::string_view(entry.name).starts_with(given.substr(2))) {
                matches += (matches.empty() ? "--" : ", --") + std::string(entry.name);
            }
        }
        if (given.size() > 2 && matches.find(',') != std::string::npos) {
            return "option '" + given + "' is ambiguous (" + matches + ")";
        }
        return "unknown option '" + given + "'";
    }

    void Apply(int value, const std::string& name, const char* argument)
    {
        switch (value) {
        case 'h': SetMode(Mode::Help, name); break;
        case 'V': SetMode(Mode::Version, name); break;
        case 'c': SetMode(Mode::Check, name); break;
        case 'd': SetMode(Mode::Dump, name); break;
        case 'f': line_.force = true; break;
        case IncludeHidden: line_.include_hidden = true; break;
        case NoSearchIndex: line_.search_index = false; break;
        case 'o':
            if (line_.output) {
                throw UsageError("option '" + name + "' given twice");
            }
            line_.output = argument;
            break;
        case 'r': line_.runtime = argument; break;
        case 'e': line_.encoding = ParseEncoding(argument); break;
        case Deb: line_.deb = true; break;
        case PackageName:
        case PackageVersion:
        case PackageMaintainer:
        case PackageSummary:
            line_.package[static_cast<std::size_t>(value - PackageName)] = argument;
            package_option_ = name;
            break;
        default: break;
        }
    }

    void SetMode(Mode mode, const std::string& name)
    {
        if (mode_option_ && line_.mode != mode) {
            throw UsageError("options '" + *mode_option_ + "' and '" + name + "' cannot be combined");
        }
        line_.mode = mode;
        mode_option_ = name;
    }
    CommandLine Finish(const std::vector<std::string>& operands)
    {
        if (package_option_ && !line_.deb && (line_.mode == Mode::Pack || line_.mode == Mode::Check)) {
            throw UsageError("option '" + *package_option_ + "' sets a field of the package; add '--deb'");
        }
        if (line_.deb && line_.mode == Mode::Dump) {
            throw UsageError("option '" + *mode_option_ + "' makes no package; drop '--deb'");
        }
        switch (line_.mode) {
        case Mode::Help:
        case Mode::Version: return line_;
        case Mode::Check:
            NoOutput();
            Expect(operands, 1, "SOURCE");
            line_.source = operands[0];
            return line_;
        case Mode::Dump:
            NoOutput();
            Expect(operands, 1, "BOOK");
            line_.source = operands[0];
            return line_;
        case Mode::Pack:
            if (operands.empty()) {
                throw UsageError(line_.output ? "missing SOURCE" : "missing SOURCE and OUTPUT");
            }
            if (line_.output) {
                Expect(operands, 1, "SOURCE");
            } else {
                Expect(operands, 2, "OUTPUT");
                line_.output = operands[1];
            }
            line_.source = operands[0];
            return line_;
        }
        return line_;
    }

    void NoOutput() const
    {
        if (line_.output) {
            throw UsageError("option '" + *mode_option_ + "' writes no e-book; drop '-o'");
        }
    }

    static void Expect(const std::vector<std::string>& operands, std::size_t count, const char* last)
    {
        if (operands.size() < count) {
            throw UsageError(std::string("missing ") + last);
        }
        if (operands.size() > count) {
            throw UsageError("unexpected argument '" + operands[count] + "'");
        }
    }

    CommandLine line_;
    std::optional<std::string> mode_option_;
    std::optional<std::string> package_option_;  // the last package field option given
};

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments)
{
    return ArgumentReader().Read(arguments);
}

std::string HelpText()
{
    return R"(Usage: quillora-pack [OPTION]... SOURCE OUTPUT
  or:  quillora-pack [OPTION]... SOURCE -o OUTPUT
  or:  quillora-pack --check [--deb] SOURCE
  or:  quillora-pack --dump BOOK
Make an e-book: copy the Quillora runtime to OUTPUT with the settings of SOURCE
appended, and copy the book's page folder beside it.

SOURCE is a book settings file (name = value lines), or a folder holding one
named book.conf. Page paths in it are relative to its folder.
OUTPUT is the e-book file to write. When it is a folder (an existing one, or
any path ending in '/'), the e-book is written into it under the name of the
book's folder. Missing folders are created. Beside it go OUTPUT.desktop, a
launcher that starts the e-book from a file manager, and OUTPUT.svg, its icon.

  -o, --output=OUTPUT  the e-book to write (instead of the second operand)
  -c, --check          check SOURCE and report every problem; write nothing
  -d, --dump           print the settings and menu of the e-book BOOK in the
                         form of a book source
  -r, --runtime=PATH   build on the runtime PATH instead of the quillora
                         program installed with quillora-pack
  -f, --force          replace an existing OUTPUT, its launcher, icon and page
                         folder
  -e, --encoding=NAME  write the e-book's texts in NAME: utf-8 (the default)
                         or windows-1252
      --include-hidden copy hidden files and folders (names starting with '.')
                         of the page folder too
      --no-search-index
                       leave out the page folder's search index (the e-book
                         then indexes its pages when first searched)
      --deb            also write a Debian package of the book into OUTPUT's
                         folder, NAME_VERSION_ARCH.deb; with --check, check
                         its package fields too
      --package-name=NAME, --package-version=VERSION,
      --package-maintainer="NAME <ADDRESS>", --package-summary=TEXT
                       set a field of the package, in place of the book
                         source's package_name, package_version,
                         package_maintainer and package_summary (which come
                         from title, about_version, about_email and
                         about_description when not set)
  -h, --help           show this help and exit
  -V, --version        show the version and exit

Only what lies inside the page folder is copied. Hidden names are left out
unless --include-hidden is given; a symbolic link is copied as the file or
folder it points to when that lies inside the page folder, and left out with a
warning when it leads outside, leads nowhere or loops; so are pipes, sockets
and devices.

Problems are reported as FILE:LINE: setting NAME: message.
Exit status: 0 if all went well, 1 if the book source has problems or the
e-book could not be written, 2 if the command line is wrong.
)";
}

}  // namespace quillora::pack
