#include "command_line.hpp"

namespace quillora::pack {
namespace {

class ArgumentReader {
public:
    explicit ArgumentReader(const std::vector<std::string>& arguments) : arguments_(arguments) {}

    CommandLine Read()
    {
        std::vector<std::string> operands;
        bool options_end = false;
        for (position_ = 0; position_ < arguments_.size(); ++position_) {
            const std::string& argument = arguments_[position_];
            if (options_end || argument == "-" || !argument.starts_with("-")) {
                operands.push_back(argument);
            } else if (argument == "--") {
                options_end = true;
            } else {
                ReadOption(argument);
            }
        }
        return Finish(operands);
    }

private:
    void ReadOption(const std::string& argument)
    {
        std::string name = argument;
        std::optional<std::string> attached;
        if (const auto equals = argument.find('='); argument.starts_with("--") && equals != std::string::npos) {
            name = argument.substr(0, equals);
            attached = argument.substr(equals + 1);
        }
        const auto no_value = [&] {
            if (attached) {
                throw UsageError("option '" + name + "' takes no value");
            }
        };
        if (name == "-h" || name == "--help") {
            no_value();
            SetMode(Mode::Help, name);
        } else if (name == "-V" || name == "--version") {
            no_value();
            SetMode(Mode::Version, name);
        } else if (name == "-c" || name == "--check") {
            no_value();
            SetMode(Mode::Check, name);
        } else if (name == "-d" || name == "--dump") {
            no_value();
            SetMode(Mode::Dump, name);
        } else if (name == "-f" || name == "--force") {
            no_value();
            line_.force = true;
        } else if (name == "--include-hidden") {
            no_value();
            line_.include_hidden = true;
        } else if (name == "-o" || name == "--output") {
            if (line_.output) {
                throw UsageError("option '" + name + "' given twice");
            }
            line_.output = Value(name, attached);
        } else if (name == "-r" || name == "--runtime") {
            line_.runtime = Value(name, attached);
        } else if (name == "-e" || name == "--encoding") {
            const std::string value = Value(name, attached);
            if (value == "utf-8" || value == "UTF-8" || value == "utf8") {
                line_.encoding = OutputEncoding::Utf8;
            } else if (value == "windows-1252" || value == "cp1252") {
                line_.encoding = OutputEncoding::Windows1252;
            } else {
                throw UsageError("unknown encoding '" + value + "' (use utf-8 or windows-1252)");
            }
        } else {
            throw UsageError("unknown option '" + argument + "'");
        }
    }

    std::string Value(const std::string& name, const std::optional<std::string>& attached)
    {
        if (attached) {
            return *attached;
        }
        if (position_ + 1 >= arguments_.size()) {
            throw UsageError("option '" + name + "' needs a value");
        }
        return arguments_[++position_];
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
        switch (line_.mode) {
        case Mode::Help:
        case Mode::Version:
            return line_;
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

    const std::vector<std::string>& arguments_;
    std::size_t position_ = 0;
    CommandLine line_;
    std::optional<std::string> mode_option_;
};

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments)
{
    return ArgumentReader(arguments).Read();
}

std::string HelpText()
{
    return R"(Usage: quillora-pack [OPTION]... SOURCE OUTPUT
  or:  quillora-pack [OPTION]... SOURCE -o OUTPUT
  or:  quillora-pack --check SOURCE
  or:  quillora-pack --dump BOOK
Make an e-book: copy the Quillora runtime to OUTPUT with the settings of SOURCE
appended, and copy the book's page folder beside it.

SOURCE is a book settings file (name = value lines), or a folder holding one
named book.conf. Page paths in it are relative to its folder.
OUTPUT is the e-book file to write. When it is a folder (an existing one, or
any path ending in '/'), the e-book is written into it under the name of the
book's folder. Missing folders are created.

  -o, --output=OUTPUT  the e-book to write (instead of the second operand)
  -c, --check          check SOURCE and report every problem; write nothing
  -d, --dump           print the settings and menu of the e-book BOOK in the
                         form of a book source
  -r, --runtime=PATH   build on the runtime PATH instead of the quillora
                         program installed beside quillora-pack
  -f, --force          replace an existing OUTPUT and page folder
  -e, --encoding=NAME  write the e-book's texts in NAME: utf-8 (the default)
                         or windows-1252
      --include-hidden copy hidden files and folders (names starting with '.')
                         of the page folder too
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
