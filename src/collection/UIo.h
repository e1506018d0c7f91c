#pragma once
// The typed record stream behind every binary file of the program: 32-bit
// little-endian integers, length-prefixed byte strings and raw blocks, in an
// order only the caller knows.  A large file opened for reading is read a
// window at a time, so a large list never sits in memory beside the
// catalogue built from it; a stream opened for writing collects the whole
// file in memory and touches the disk only in Finish.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "core/ReadSource.h"

// The silent failure of a record stream: callers keep what was read and show
// nothing.  The message is always "Could not read" or "Could not write".
class EMyFileError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class TLoadSave {
  public:
    TLoadSave() = default;
    TLoadSave(const TLoadSave&) = delete;
    TLoadSave& operator=(const TLoadSave&) = delete;
    // Writes the file when the stream was opened for writing and not yet
    // finished, unless an exception is unwinding the stack: a save that
    // failed half-way never replaces the previous file.  Never throws.
    ~TLoadSave();

    // Loads the whole file; false when it is empty.  Throws std::system_error
    // when it cannot be opened or read.
    bool OpenRead(const std::string& fileName);
    // Reads from a source: a file as OpenRead does, or bytes in memory.
    bool Open(const TReadSource& source);
    // Remembers the name; nothing happens on disk until Finish.
    bool OpenWrite(const std::string& fileName);
    // Collects a record in memory only (Bytes() gives it); Finish writes nothing.
    void OpenWriteToMemory();
    // Makes room for about `bytes` bytes of writing at once, so that a large
    // file is not copied each time the buffer grows.
    void Reserve(size_t bytes) { buffer_.reserve(bytes); }

    void WriteInteger(int32_t value);
    int32_t ReadInteger();
    void WriteString(std::string_view text);
    // A zero byte inside the stored bytes ends the text; the stream still
    // moves past all of them.
    std::string ReadString();
    // The same text without a copy; it stays valid until the next read.
    std::string_view ReadText();
    void WriteBlock(const void* data, size_t count);
    void ReadBlock(void* data, size_t count);
    // Reads `count` bytes into a string (a convenience over ReadBlock).
    std::string ReadBlock(size_t count);

    // In write mode the buffer replaces the file (through a temporary file
    // renamed over it); a failure throws std::system_error.  The buffer is
    // released in every mode.  A second call does nothing.
    void Finish();

    const std::string& FileName() const { return fileName_; }
    int Mode() const { return mode_; }  // -1 not opened, 0 read, 1 write
    size_t Position() const { return position_; }
    size_t Size() const { return mode_ == 0 ? size_ : buffer_.size(); }
    size_t Remaining() const { return Size() - position_; }
    // For tests and in-memory use: the bytes written so far, or the bytes
    // given to OpenBytes.
    const std::string& Bytes() const { return buffer_; }
    // Reads from bytes already in memory (FileName stays empty).
    void OpenBytes(std::string bytes);

  private:
    void Take(void* data, size_t count);
    // The next `count` bytes to read; throws when fewer remain.
    const char* Advance(size_t count);
    // Makes `count` bytes from the position available in the window.
    void Fill(size_t count);
    void CloseFile();

    std::string buffer_;      // the bytes written, or a whole small file read
    size_t size_ = 0;         // bytes to read in all (the file's size)
    int fd_ = -1;             // a large file read a window at a time
    std::string window_;      // the window of a large file
    size_t windowStart_ = 0;  // stream position of window_[0]
    size_t windowEnd_ = 0;    // stream position after the window's last byte
    std::string fileName_;
    size_t position_ = 0;
    int mode_ = -1;
    bool finished_ = false;
    bool toMemory_ = false;
    int uncaughtAtOpen_ = 0;
};
