#pragma once
// Shared by the fuzz targets: the input as a file for readers that take a
// path, and the failures a reader may report.  Anything else that escapes a
// reader (another exception, a crash, a sanitizer report) is a finding.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>
#include <string_view>
#include <system_error>

#include "collection/UIo.h"

inline std::string_view InputBytes(const uint8_t* data, size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// A folder of this process, made once, for files the readers open by name.
inline const std::string& FuzzFolder() {
    static const std::string folder = [] {
        std::string pattern = "/tmp/mavelo-fuzz-XXXXXX";
        return std::string(mkdtemp(pattern.data()));
    }();
    return folder;
}

// Writes the input to `name` inside FuzzFolder() and returns its path.
inline std::string InputFile(const uint8_t* data, size_t size, const std::string& name) {
    const std::string path = FuzzFolder() + "/" + name;
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return path;
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
