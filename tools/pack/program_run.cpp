#include "program_run.hpp"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string_view>

#include "common/error.hpp"
#include "common/unique_fd.hpp"
#include "errno_text.hpp"

namespace quillora::pack {
namespace {

// The end of a program's error output, enough for a message.
std::string Tail(std::string text)
{
    constexpr std::size_t Kept = 2000;
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) {
        text.pop_back();
    }
    return text.size() > Kept ? "..." + text.substr(text.size() - Kept) : text;
}

}  // namespace

bool ProgramOnPath(const std::string& name)
{
    const char* path = std::getenv("PATH");
    std::string_view folders = path != nullptr ? path : "/usr/bin:/bin";
    while (true) {
        const auto colon = folders.find(':');
        const std::string folder(folders.substr(0, colon));
        const std::string candidate = (folder.empty() ? "." : folder) + "/" + name;
        if (::access(candidate.c_str(), X_OK) == 0) {
            return true;
        }
        if (colon == std::string_view::npos) {
            return false;
        }
        folders.remove_prefix(colon + 1);
    }
}

void RunProgram(const ProgramRun& run)
{
    const std::string& name = run.arguments.front();
    int errors[2];
    if (::pipe2(errors, O_CLOEXEC) != 0) {
        throw quillora::Error("cannot run " + name + ": " + ErrnoText());
    }
    UniqueFd read_end(errors[0]);
    UniqueFd write_end(errors[1]);
    UniqueFd output;
    if (!run.output.empty()) {
        output = UniqueFd(::open(run.output.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
        if (!output.Valid()) {
            throw quillora::Error("cannot write " + run.output.string() + ": " + ErrnoText());
        }
    }
    std::vector<char*> argv;
    for (const auto& argument : run.arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);

    const pid_t child = ::fork();
    if (child < 0) {
        throw quillora::Error("cannot run " + name + ": " + ErrnoText());
    }
    if (child == 0) {
        // Only async-signal-safe calls until exec; a failure is told through the error pipe.
        const int out = output.Valid() ? output.Get() : ::open("/dev/null", O_WRONLY);
        if (::dup2(out, STDOUT_FILENO) < 0 || ::dup2(write_end.Get(), STDERR_FILENO) < 0 ||
            (!run.folder.empty() && ::chdir(run.folder.c_str()) != 0)) {
            ::_exit(126);
        }
        ::execvp(argv[0], argv.data());
        const int error = errno;
        constexpr std::string_view Mark = "\x01";  // the child could not start the program
        (void)!::write(STDERR_FILENO, Mark.data(), Mark.size());
        (void)!::write(STDERR_FILENO, &error, sizeof error);
        ::_exit(127);
    }
    write_end = UniqueFd();
    std::string text;
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(read_end.Get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        text.append(buffer, static_cast<std::size_t>(got));
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 127 && text.size() == 1 + sizeof(int) && text[0] == '\x01') {
        int error = 0;
        text.copy(reinterpret_cast<char*>(&error), sizeof error, 1);
        throw quillora::Error("cannot run " + name + ": " + ErrnoText(error));
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        const std::string how = WIFEXITED(status) ? "exit status " + std::to_string(WEXITSTATUS(status))
                                                  : "signal " + std::to_string(WTERMSIG(status));
        const std::string said = Tail(text);
        throw quillora::Error(name + " failed (" + how + ")" + (said.empty() ? "" : ": " + said));
    }
}

}  // namespace quillora::pack
