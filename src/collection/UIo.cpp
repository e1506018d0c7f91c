#include "collection/UIo.h"

#include <cstring>
#include <exception>

#include "core/FileSystem.h"

namespace {
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
    if (mode_ == 1 && !finished_ && std::uncaught_exceptions() > uncaughtAtOpen_) return;
    try {
        Finish();
    } catch (...) {
        // Destruction never fails; callers that need to know call Finish.
    }
}

bool TLoadSave::OpenRead(const std::string& fileName) {
    mode_ = 0;
    fileName_ = fileName;
    buffer_ = ReadWholeFile(fileName);
    position_ = 0;
    finished_ = false;
    return !buffer_.empty();
}

void TLoadSave::OpenBytes(std::string bytes) {
    mode_ = 0;
    fileName_.clear();
    buffer_ = std::move(bytes);
    position_ = 0;
    finished_ = false;
}

void TLoadSave::OpenWriteToMemory() {
    OpenWrite({});
    toMemory_ = true;
}

bool TLoadSave::OpenWrite(const std::string& fileName) {
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
    if (count > Remaining()) {
        position_ = buffer_.size();
        throw EMyFileError(kCouldNotRead);
    }
    if (count) std::memcpy(data, buffer_.data() + position_, count);
    position_ += count;
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
    return Guard(kCouldNotRead, [&] {
        const int32_t length = ReadInteger();
        if (length < 0 || static_cast<size_t>(length) > Remaining())
            throw EMyFileError(kCouldNotRead);
        const char* start = buffer_.data() + position_;
        position_ += static_cast<size_t>(length);
        const void* zero = std::memchr(start, 0, static_cast<size_t>(length));
        const size_t kept = zero ? static_cast<size_t>(static_cast<const char*>(zero) - start)
                                 : static_cast<size_t>(length);
        return std::string(start, kept);
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
    return Guard(kCouldNotRead, [&] {
        if (count > Remaining()) {
            position_ = buffer_.size();
            throw EMyFileError(kCouldNotRead);
        }
        std::string bytes(buffer_.data() + position_, count);
        position_ += count;
        return bytes;
    });
}

void TLoadSave::Finish() {
    if (finished_) return;
    finished_ = true;
    std::string data;
    data.swap(buffer_);
    position_ = 0;
    if (mode_ == 1 && !toMemory_) ReplaceFileContents(fileName_, data);
}
