#pragma once

#include <unistd.h>

#include <utility>

namespace quillora {

// Owns one file descriptor; -1 owns nothing. The one owner of a raw descriptor in the program
// and the authoring tool: the read-only files, the tool's temporaries and locks.
class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept
    {
        if (this != &other) {
            Reset();
            fd_ = std::exchange(other.fd_, -1);
        }
        return *this;
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd() { Reset(); }

    [[nodiscard]] int Get() const { return fd_; }
    [[nodiscard]] bool Valid() const { return fd_ >= 0; }
    // Closes now, so that a failing close (data that never reached the disk) is seen.
    bool Close() { return ::close(std::exchange(fd_, -1)) == 0; }

private:
    // Not retried on EINTR: on Linux the descriptor is released whatever close returns; and
    // closing without asking for the result is for descriptors whose data cannot be lost.
    void Reset() noexcept
    {
        if (fd_ >= 0) {
            ::close(std::exchange(fd_, -1));
        }
    }

    int fd_ = -1;
};

}  // namespace quillora
