#pragma once
// File access of the tag readers and writers.  Readers see a file, or bytes
// in memory, through TByteSource so they read only the parts they need and
// tests need no files.  Writers replace the whole file through the safe
// write (core/SafeWrite.h) and report why a write failed.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "core/FileDescriptor.h"
#include "core/SafeWrite.h"

class TByteSource {
  public:
    virtual ~TByteSource() = default;
    virtual int64_t Size() const = 0;
    // Up to `count` bytes from `offset`; fewer at the end, none outside.
    virtual std::string ReadAt(int64_t offset, size_t count) const = 0;
};

// An open file, read-only, closed with the object.  IsOpen is false when the
// file could not be opened.
class TFileSource : public TByteSource {
  public:
    explicit TFileSource(const std::string& path);

    bool IsOpen() const { return fd_.IsOpen(); }
    int64_t Size() const override { return size_; }
    std::string ReadAt(int64_t offset, size_t count) const override;

  private:
    TFileDescriptor fd_;
    int64_t size_ = 0;
};

// Bytes in memory; they must outlive the source.
class TMemorySource : public TByteSource {
  public:
    explicit TMemorySource(std::string_view bytes) : bytes_(bytes) {}
    int64_t Size() const override { return static_cast<int64_t>(bytes_.size()); }
    std::string ReadAt(int64_t offset, size_t count) const override;

  private:
    std::string_view bytes_;
};

// Loads a tag reader from the file; false when the file cannot be opened.
template <typename Reader>
bool LoadFromFile(Reader& reader, const std::string& path) {
    reader.Clear();
    TFileSource file(path);
    return file.IsOpen() && reader.Load(file);
}

// True when the file exists and this user may change it: the writers never
// override a file's protection.
bool CanWriteFile(const std::string& path);
// Replaces the file's contents through the program's safe write; on failure
// the original stays untouched.
TWriteResult ReplaceFileSafely(const std::string& path, std::string_view data);
// Reads the whole file, has `rewrite` make its new bytes (or say why it
// cannot) and replaces the file safely with them.
using TBytesRewrite =
    std::function<bool(std::string_view data, std::string& out, std::string& problem)>;
TWriteResult RewriteWholeFile(const std::string& path, const TBytesRewrite& rewrite);
// The whole file, or false when it cannot be read.
bool ReadFileBytes(const std::string& path, std::string& data);
