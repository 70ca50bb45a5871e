#include "common/event_boundary.hpp"

#include <cstdio>
#include <exception>
#include <utility>

#include "common/error.hpp"

namespace quillora {

namespace {

ErrorReporter& Reporter()
{
    static ErrorReporter reporter;
    return reporter;
}

void Report(std::string_view message) noexcept
{
    try {
        const std::string text = WithReportFullStop(message);
        if (Reporter()) {
            Reporter()(text);
        } else {
            std::fprintf(stderr, "quillora: %s\n", text.c_str());
        }
    } catch (...) {
        // A report that fails (no memory, a dialog that throws) must not take the program down.
        std::fputs("quillora: an error occurred while reporting an error\n", stderr);
    }
}

}  // namespace

std::string WithReportFullStop(std::string_view text)
{
    std::string result(text);
    // Byte comparison: a UTF-8 lead or continuation byte (0x80 and up) sorts after '.' too,
    // so a text ending in a non-ASCII letter gets its full stop like one ending in an ASCII one.
    if (!result.empty() && static_cast<unsigned char>(result.back()) > '.') {
        result += '.';
    }
    return result;
}

void SetErrorReporter(ErrorReporter reporter)
{
    Reporter() = std::move(reporter);
}

bool AtEventBoundary(const std::function<void()>& body) noexcept
{
    try {
        body();
        return true;
    } catch (const SilentAbort&) {
        return false;
    } catch (const std::exception& error) {
        Report(error.what());
        return false;
    } catch (...) {
        Report("Unknown error");
        return false;
    }
}

}  // namespace quillora
