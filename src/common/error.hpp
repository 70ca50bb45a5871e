#pragma once

#include <stdexcept>
#include <string>

namespace quillora {

// A failure that travels up to the event boundary and is shown there in the standard error
// report. The message is the system's own text, without the final full stop (the report adds it).
class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An I/O failure of the payload reader ("File not found", "Read beyond end of file", ...).
class IoError : public Error {
public:
    using Error::Error;
    IoError(const std::string& message, int code) : Error(message), code_(code) {}

    // The errno value the failure came from; 0 for the runtime's own failures.
    [[nodiscard]] int Code() const noexcept { return code_; }

private:
    int code_ = 0;
};

// Ends the current handler without any report (APPLICATIONEXIT()). Deliberately not an Error.
class SilentAbort : public std::exception {
public:
    const char* what() const noexcept override { return "silent abort"; }
};

// "List index out of bounds (%d)".
[[nodiscard]] Error ListIndexOutOfBounds(long long index);

// The runtime's texts for failed file operations.
inline constexpr const char* ReadBeyondEndOfFileText = "Read beyond end of file";
// ENOENT is "File not found"; any other code is "I/O error %d" with the errno value.
[[nodiscard]] IoError IoErrorFromErrno(int code);

}  // namespace quillora
