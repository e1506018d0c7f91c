#include "collection/UIo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <exception>
#include <system_error>

#include "core/FileSystem.h"
#include "core/SafeWrite.h"

namespace {
// Files up to this size are read whole; larger ones a window at a time.
constexpr size_t kWindowSize = 1 << 20;

const char* const kCouldNotRead = "Could not read";
const char* const kCouldNotWrite = "Could not write";

// Any failure other than our own inside a read or write becomes the silent error.
template <typename F>
auto Guard(const char* message, F&& body) -> decltype(body()) {
    try {
        return body();
    } catch (const EMyFileError&) {
        throw;
    } catch (const std::exception&) {
        throw EMyFileError(message);
    }
}
}  // namespace

TLoadSave::~TLoadSave() {
    CloseFile();
    if (mode_ == 1 && !finished_ && std::uncaught_exceptions() > uncaughtAtOpen_) return;
    try {
        Finish();
    } catch (...) {
        // Destruction never fails; callers that need to know call Finish.
    }
}

bool TLoadSave::OpenRead(const std::string& fileName) {
    CloseFile();
    mode_ = 0;
    fileName_ = fileName;
    position_ = 0;
    finished_ = false;
    buffer_.clear();
    const int fd = open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw std::system_error(errno, std::generic_category(), "Cannot open " + fileName);
    struct stat st {};
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && size_t(st.st_size) > kWindowSize) {
        posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
        fd_ = fd;
        size_ = size_t(st.st_size);
        windowStart_ = windowEnd_ = 0;
        return true;
    }
    close(fd);
    buffer_ = ReadWholeFile(fileName);
    size_ = buffer_.size();
    windowStart_ = 0;
    windowEnd_ = size_;
    return !buffer_.empty();
}

bool TLoadSave::Open(const TReadSource& source) {
    if (!source.InMemory()) return OpenRead(source.Name());
    OpenBytes(source.Bytes());
    return size_ != 0;
}

void TLoadSave::OpenBytes(std::string bytes) {
    CloseFile();
    mode_ = 0;
    fileName_.clear();
    buffer_ = std::move(bytes);
    size_ = buffer_.size();
    windowStart_ = 0;
    windowEnd_ = size_;
    position_ = 0;
    finished_ = false;
}

void TLoadSave::CloseFile() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
    std::string().swap(window_);
}

void TLoadSave::Fill(size_t count) {
    // What is left of the window moves to its front and the file refills the rest.
    const size_t kept = windowEnd_ - position_;
    const size_t wanted = std::max(count, kWindowSize);
    if (window_.size() < wanted) {
        std::string larger(wanted, '\0');
        std::memcpy(larger.data(), window_.data() + (position_ - windowStart_), kept);
        window_.swap(larger);
    } else {
        std::memmove(window_.data(), window_.data() + (position_ - windowStart_), kept);
    }
    windowStart_ = position_;
    windowEnd_ = position_ + kept;
    while (windowEnd_ - windowStart_ < window_.size()) {
        const ssize_t n = pread(fd_, window_.data() + (windowEnd_ - windowStart_),
                                window_.size() - (windowEnd_ - windowStart_), off_t(windowEnd_));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;  // a read error ends the stream like its end does
        windowEnd_ += size_t(n);
    }
    // Shrunk while it was read: what is there is all there is.
    if (windowEnd_ < size_ && windowEnd_ - windowStart_ < window_.size()) size_ = windowEnd_;
}

const char* TLoadSave::Advance(size_t count) {
    if (count > Remaining()) {
        position_ = Size();
        throw EMyFileError(kCouldNotRead);
    }
    if (fd_ >= 0 && windowEnd_ - position_ < count) {
        Fill(count);
        if (windowEnd_ - position_ < count) {
            position_ = Size();
            throw EMyFileError(kCouldNotRead);
        }
    }
    const char* at =
        fd_ >= 0 ? window_.data() + (position_ - windowStart_) : buffer_.data() + position_;
    position_ += count;
    return at;
}

void TLoadSave::OpenWriteToMemory() {
    OpenWrite({});
    toMemory_ = true;
}

bool TLoadSave::OpenWrite(const std::string& fileName) {
    CloseFile();
    toMemory_ = false;
    mode_ = 1;
    fileName_ = fileName;
    buffer_.clear();
    position_ = 0;
    finished_ = false;
    uncaughtAtOpen_ = std::uncaught_exceptions();
    return true;
}

void TLoadSave::Take(void* data, size_t count) {
    const char* at = Advance(count);
    if (count) std::memcpy(data, at, count);
}

void TLoadSave::WriteInteger(int32_t value) {
    Guard(kCouldNotWrite, [&] {
        const auto v = static_cast<uint32_t>(value);
        const char bytes[4] = {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF),
                               static_cast<char>((v >> 16) & 0xFF),
                               static_cast<char>((v >> 24) & 0xFF)};
        buffer_.append(bytes, 4);
        position_ = buffer_.size();
    });
}

int32_t TLoadSave::ReadInteger() {
    return Guard(kCouldNotRead, [&] {
        unsigned char bytes[4];
        Take(bytes, 4);
        const uint32_t v = uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 |
                           uint32_t(bytes[3]) << 24;
        return static_cast<int32_t>(v);
    });
}

void TLoadSave::WriteString(std::string_view text) {
    Guard(kCouldNotWrite, [&] {
        if (text.size() > INT32_MAX) throw EMyFileError(kCouldNotWrite);
        WriteInteger(static_cast<int32_t>(text.size()));
        buffer_.append(text.data(), text.size());
        position_ = buffer_.size();
    });
}

std::string TLoadSave::ReadString() {
    return std::string(ReadText());
}

std::string_view TLoadSave::ReadText() {
    return Guard(kCouldNotRead, [&] {
        const int32_t length = ReadInteger();
        if (length < 0 || static_cast<size_t>(length) > Remaining())
            throw EMyFileError(kCouldNotRead);
        const char* start = Advance(static_cast<size_t>(length));
        const void* zero = std::memchr(start, 0, static_cast<size_t>(length));
        const size_t kept = zero ? static_cast<size_t>(static_cast<const char*>(zero) - start)
                                 : static_cast<size_t>(length);
        return std::string_view(start, kept);
    });
}

void TLoadSave::WriteBlock(const void* data, size_t count) {
    Guard(kCouldNotWrite, [&] {
        buffer_.append(static_cast<const char*>(data), count);
        position_ = buffer_.size();
    });
}

void TLoadSave::ReadBlock(void* data, size_t count) {
    Guard(kCouldNotRead, [&] { Take(data, count); });
}

std::string TLoadSave::ReadBlock(size_t count) {
    return Guard(kCouldNotRead, [&] { return std::string(Advance(count), count); });
}

void TLoadSave::Finish() {
    if (finished_) return;
    finished_ = true;
    CloseFile();
    std::string data;
    data.swap(buffer_);
    position_ = 0;
    size_ = windowStart_ = windowEnd_ = 0;
    if (mode_ == 1 && !toMemory_) ReplaceFileContents(fileName_, data);
}
