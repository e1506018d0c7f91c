#pragma once
// Shared by the fuzz targets: the input's bytes, and the failures a reader
// may report.  Every reader takes its bytes in memory: no input goes through
// a file.  Anything else that escapes a reader (another exception, a crash,
// a sanitizer report) is a finding.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <system_error>

#include "collection/UIo.h"

inline std::string_view InputBytes(const uint8_t* data, size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// Runs a reader whose documented failures are the record stream's silent
// exception and file-system errors.
template <typename Read>
void ReadQuietly(Read read) {
    try {
        read();
    } catch (const EMyFileError&) {
    } catch (const std::system_error&) {
    }
}
