#pragma once
// An open file descriptor that is closed when it goes out of scope, so that
// no error path forgets it.  Close() is for writers: a failing close can mean
// the data never reached the file, and they must say so.
#include <unistd.h>

#include <cerrno>

#include <utility>

class TFileDescriptor {
  public:
    TFileDescriptor() = default;
    explicit TFileDescriptor(int fd) : fd_(fd) {}
    ~TFileDescriptor() { Reset(); }
    TFileDescriptor(TFileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    TFileDescriptor& operator=(TFileDescriptor&& other) noexcept {
        if (this != &other) {
            Reset();
            fd_ = std::exchange(other.fd_, -1);
        }
        return *this;
    }
    TFileDescriptor(const TFileDescriptor&) = delete;
    TFileDescriptor& operator=(const TFileDescriptor&) = delete;

    int Get() const { return fd_; }
    bool IsOpen() const { return fd_ >= 0; }
    // Closes now; false (errno set) when the system reports a failure.
    bool Close() { return fd_ < 0 || ::close(std::exchange(fd_, -1)) == 0; }
    // Closes without a word, keeping errno as it was (for error paths).
    void Reset() {
        if (fd_ < 0) return;
        const int saved = errno;
        ::close(std::exchange(fd_, -1));
        errno = saved;
    }

  private:
    int fd_ = -1;
};
