#pragma once
// Where a reader's bytes come from: a file, read as it always was, or bytes
// already in memory (tests and fuzzing feed readers without a file).  A
// plain path converts to a file source, so callers that read files keep
// passing their paths.
#include <string>
#include <utility>

class TReadSource {
  public:
    TReadSource(std::string path) : name_(std::move(path)) {}
    TReadSource(const char* path) : name_(path) {}
    // Bytes in memory; `name` stands for the file name where a reader looks
    // at it (a list's extension says whether it is a disc's list).
    static TReadSource Bytes(std::string bytes, std::string name = {}) {
        TReadSource source(std::move(name));
        source.bytes_ = std::move(bytes);
        source.inMemory_ = true;
        return source;
    }

    bool InMemory() const { return inMemory_; }
    // The file's path, or the name given to the bytes.
    const std::string& Name() const { return name_; }
    // The bytes given (empty for a file).
    const std::string& Bytes() const { return bytes_; }
    // A file source: a regular file (or a link to one) is there.  Bytes always are.
    bool Exists() const;
    // Every byte: the file read whole (std::system_error naming the file when
    // it cannot be), or a copy of the bytes.
    std::string ReadAll() const;

  private:
    std::string name_;
    std::string bytes_;
    bool inMemory_ = false;
};
