// Fuzzes the action interpreter: the text layers of an action string and its run against a
// recording host, which throws from one chosen member. The first input byte chooses that member
// (or none); the rest is the action string. Only Error and SilentAbort may leave a run; each
// command makes at most one recorded call; what reaches the desktop is always safe.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "../support/recording_action_host.hpp"
#include "actions/action_interpreter.hpp"
#include "actions/action_text.hpp"
#include "actions/shell_requests.hpp"
#include "common/error.hpp"
#include "payload/text_encoding.hpp"

namespace {

void Check(bool condition)
{
    if (!condition) {
        __builtin_trap();
    }
}

bool IsCommandCharacter(char c)
{
    const auto code = static_cast<unsigned char>(c);
    return code >= 33 && code <= 126;
}

bool StartsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

void CheckCommandLayers(std::string_view action, bool valid_utf8)
{
    const auto commands = quillora::SplitCommands(action);
    std::string joined;
    for (const std::string& piece : commands) {
        joined += piece + "-@-";
    }
    Check(joined == action || joined == std::string(action) + "-@-");

    for (const std::string& piece : commands) {
        const std::string cleaned = quillora::CleanCommand(piece);
        Check(quillora::Utf8Length(cleaned) <= 255);
        Check(cleaned.empty() || (IsCommandCharacter(cleaned.front()) && IsCommandCharacter(cleaned.back())));
        Check(!valid_utf8 || quillora::IsValidUtf8(cleaned));
        Check(quillora::CleanCommand(cleaned) == cleaned);

        const std::string word = quillora::CommandWord(cleaned);
        Check(word.find_first_of(std::string_view(" \r\n\0", 4)) == std::string::npos);
        Check(word.find_first_of("abcdefghijklmnopqrstuvwxyz") == std::string::npos);
        for (int n = 1; n <= 3; ++n) {
            const std::string parameter = quillora::QuotedParameter(n, cleaned);
            Check(parameter.size() <= cleaned.size());
            Check(parameter.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos);
        }
    }
}

// What the run handed to the desktop: web and mail addresses only, never an attachment, and no
// file name or parameter text longer than the limit.
void CheckCall(const std::string& call)
{
    std::string lower = call;
    for (char& c : lower) {
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    if (StartsWith(lower, "openuri(mailto:")) {
        const std::string_view query = std::string_view(lower).substr(std::min(lower.find('?'), lower.size()));
        for (const char* field : {"?attach=", "&attach=", ";attach=", "?attachment=", "&attachment=", ";attachment="}) {
            Check(query.find(field) == std::string_view::npos);
        }
    } else if (StartsWith(lower, "openuri(")) {
        Check(StartsWith(lower, "openuri(http://") || StartsWith(lower, "openuri(https://"));
    } else if (StartsWith(lower, "openfile(")) {
        Check(quillora::Utf8Length(call) <= 2 * quillora::MaxShellTextLength + 12);
    }
}

constexpr std::array<const char*, 12> FailingMembers = {
    "",        "ShowMessage", "SetCaption",     "Navigate",     "ClickButton", "SetBarVisible", "SetButtonEnabled",
    "OpenUri", "OpenFile",    "ChangeMenuItem", "PrintPreview", "CloseWindow"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    const std::string action(reinterpret_cast<const char*>(data) + 1, size - 1);
    CheckCommandLayers(action, quillora::IsValidUtf8(action));

    quillora::test::RecordingActionHost host;
    host.fail_on = FailingMembers[data[0] % FailingMembers.size()];
    bool aborted = false;
    try {
        quillora::RunActionString(action, host);
    } catch (const quillora::SilentAbort&) {
        aborted = true;
    } catch (const quillora::Error&) {
        // The run ended at a command; what came before stays recorded.
    }
    Check(host.calls.size() <= quillora::SplitCommands(action).size());
    Check(!aborted || host.calls.back() == "CloseWindow()");
    for (const std::string& call : host.calls) {
        CheckCall(call);
    }
    return 0;
}
