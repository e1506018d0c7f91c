#pragma once
// Builds the bytes of a record stream by hand, for byte-level tests: 32-bit
// little-endian integers and length-prefixed strings.
#include <cstdint>
#include <string>
#include <string_view>

#include "collection/UIo.h"

class RecordBytes {
  public:
    RecordBytes& Int(int32_t value) {
        const auto v = static_cast<uint32_t>(value);
        for (int shift = 0; shift < 32; shift += 8)
            bytes_ += static_cast<char>((v >> shift) & 0xFF);
        return *this;
    }
    RecordBytes& Str(std::string_view text) {
        Int(static_cast<int32_t>(text.size()));
        return Raw(text);
    }
    RecordBytes& Raw(std::string_view raw) {
        bytes_ += raw;
        return *this;
    }
    const std::string& Bytes() const { return bytes_; }
    operator std::string() const { return bytes_; }

  private:
    std::string bytes_;
};

// The bytes that `write` puts into a record stream, without touching a file.
template <typename Write>
std::string WrittenBytes(Write write) {
    TLoadSave stream;
    stream.OpenWriteToMemory();
    write(stream);
    std::string bytes = stream.Bytes();
    stream.OpenBytes({});  // a stream switched to reading writes nothing at its end
    return bytes;
}
