// quillora-pack: makes an e-book from a book source, checks a source, or prints the source of
// an existing e-book.
#include <unistd.h>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "book/self_path.hpp"
#include "book_check.hpp"
#include "book_dump.hpp"
#include "book_plan.hpp"
#include "command_line.hpp"
#include "deb_writer.hpp"
#include "ebook_writer.hpp"
#include "interrupt_cleanup.hpp"
#include "package_metadata.hpp"
#include "payload/setting_index.hpp"
#include "payload_encoding.hpp"
#include "runtime_image.hpp"

namespace {

namespace fs = std::filesystem;
using namespace quillora::pack;

constexpr const char* ProgramName = "quillora-pack";

enum ExitCode { Success = 0, Failure = 1, UsageFailure = 2 };

void ReportError(const std::string& message)
{
    std::cerr << ProgramName << ": error: " << message << '\n';
}

void ReportWarning(const std::string& message)
{
    std::cerr << ProgramName << ": warning: " << message << '\n';
}

// The runtime this tool was built with: beside it in a build folder, or in the installed
// layout's runtime folder, found from the tool's own location so that a moved prefix works.
// When neither exists the installed place is named, as that is where a user looks.
fs::path DefaultRuntime()
{
    const fs::path folder = quillora::FolderOf(quillora::ProgramPath());
    fs::path beside = folder / "quillora";
    std::error_code error;
    if (fs::exists(beside, error)) {
        return beside;
    }
    return (folder / QUILLORA_INSTALLED_RUNTIME).lexically_normal();
}

// OUTPUT names the e-book, or a folder to write it into under the name of the book's folder.
fs::path EbookPath(const std::string& output, const std::string& source)
{
    std::error_code error;
    if (!output.ends_with('/') && !fs::is_directory(output, error)) {
        return output;
    }
    const fs::path book_folder = fs::absolute(SourceFile(source)).lexically_normal().parent_path();
    return fs::path(output) / book_folder.filename();
}

std::string ProblemCount(int errors)
{
    return std::to_string(errors) + (errors == 1 ? " problem" : " problems");
}

// The one check of a book that --check reports and packing acts on, so that the two cannot
// disagree: the settings, the files of the page folders and the payload's encoding, with --deb
// the package's fields, then what the pages hold, reported page by page (their faults stop only
// --check; see PageFaults).
struct PreparedBook {
    LoadedBook book;
    std::string payload;
    Diagnostics pages;
    PackageMetadata package;  // with --deb
};

PreparedBook PrepareBook(const CommandLine& line, PageFaults page_faults)
{
    PreparedBook prepared{LoadBook(line.source, {.include_hidden = line.include_hidden}), {}, {}, {}};
    auto& [plan, diagnostics, file, package_values] = prepared.book;
    prepared.payload = EncodePayload(plan, line.encoding, file, diagnostics);
    if (line.deb) {
        prepared.package = ResolvePackageMetadata(prepared.book, line.package, diagnostics);
    }
    CheckBookPages(prepared.book, page_faults, prepared.pages);
    std::cerr << diagnostics.FormatAll() << prepared.pages.FormatAsFound();
    return prepared;
}

int RunCheck(const CommandLine& line)
{
    const auto prepared = PrepareBook(line, PageFaults::AreErrors);
    return prepared.book.diagnostics.HasErrors() || prepared.pages.HasErrors() ? Failure : Success;
}

int RunDump(const CommandLine& line)
{
    const auto lines = ReadBookLines(line.source);
    if (lines.Count() < quillora::SettingCount) {
        ReportWarning(line.source + " holds only " + std::to_string(lines.Count()) + " of the " +
                      std::to_string(quillora::SettingCount) + " settings");
    }
    std::cout << DumpSource(lines);
    std::cout.flush();
    return std::cout ? Success : Failure;
}

int RunPack(const CommandLine& line)
{
    auto [book, payload, pages, package] = PrepareBook(line, PageFaults::AreWarnings);
    if (book.diagnostics.HasErrors()) {
        ReportError(book.file + " has " + ProblemCount(book.diagnostics.ErrorCount()) + "; no e-book written");
        return Failure;
    }
    const fs::path output = EbookPath(*line.output, line.source);
    std::error_code error;
    if (fs::equivalent(output, SourceFile(line.source), error)) {
        ReportError(output.string() + " is the book source; name another file for the e-book");
        return Failure;
    }

    const fs::path runtime = line.runtime ? fs::path(*line.runtime) : DefaultRuntime();
    WriteRequest request;
    request.runtime_image = ReadRuntimeImage(runtime);
    // What the package needs is found before anything is written, so that a book without a
    // package is not left behind by a failure that could be told first.
    DebRequest deb;
    if (line.deb) {
        deb.facts = ReadRuntimePackageFacts(runtime);
        deb.output = output.parent_path() / DebFileName(package, deb.facts);
        if (fs::exists(fs::symlink_status(deb.output, error)) && !line.force) {
            ReportError(deb.output.string() + " already exists (use --force to replace it)");
            return Failure;
        }
    }
    request.payload_text = std::move(payload);
    request.page_folders = book.plan.page_folders;
    request.output = output;
    request.replace = line.force;
    request.search_index = line.search_index;
    request.title = book.plan.settings[quillora::setting::title];
    InstallInterruptCleanup();  // an interrupted run leaves no hidden temporaries behind
    WriteEbook(request);
    if (line.deb) {
        deb.metadata = std::move(package);
        deb.runtime_image = std::move(request.runtime_image);
        deb.payload_text = std::move(request.payload_text);
        deb.page_folders = std::move(request.page_folders);
        deb.search_index = line.search_index;
        deb.replace = line.force;
        deb.runtime_version = QUILLORA_VERSION;
        WriteDebPackage(deb);
        std::cerr << ProgramName << ": wrote the package " << deb.output.string() << '\n';
    }
    return Success;
}

}  // namespace

int main(int argc, char** argv)
{
    CommandLine line;
    try {
        line = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const UsageError& failure) {
        ReportError(failure.what());
        std::cerr << "Try '" << ProgramName << " --help' for more information.\n";
        return UsageFailure;
    }
    try {
        switch (line.mode) {
        case Mode::Help: std::cout << HelpText(); return Success;
        case Mode::Version: std::cout << ProgramName << " (Quillora) " << QUILLORA_VERSION << '\n'; return Success;
        case Mode::Check: return RunCheck(line);
        case Mode::Dump: return RunDump(line);
        case Mode::Pack: return RunPack(line);
        }
    } catch (const std::exception& failure) {
        ReportError(failure.what());
    }
    return Failure;
}
