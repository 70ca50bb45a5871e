#pragma once

// Every message logged through GLib while the tests run, kept for the tests to judge and passed
// on to standard error as usual.

#include <glib.h>

#include <string>
#include <vector>

namespace quillora::test {

struct LogRecord {
    std::string domain;  // empty for the program's own messages (it names no log domain)
    GLogLevelFlags level;
    std::string message;
};

class LogRecorder {
public:
    // Installs the recorder as GLib's log writer; before anything is logged.
    static void Install();
    static std::vector<LogRecord>& Records();

    // Warnings and criticals that a test fails on: every critical (a critical is a misuse of
    // GLib, GTK or the engine, whoever reports it) and the program's own warnings.
    static std::vector<LogRecord> Faults(std::size_t from);
};

}  // namespace quillora::test
