#pragma once
// Reads back the quality a JPEG was encoded at: the first value of its first
// quantisation table is 3 for the standard table at quality 90 and 10 at
// quality 70.
#include <cstdint>
#include <string>

inline int FirstQuantisationValue(const std::string& jpeg) {
    for (size_t i = 2; i + 5 < jpeg.size();) {
        if (uint8_t(jpeg[i]) != 0xFF) return -1;
        const uint8_t marker = uint8_t(jpeg[i + 1]);
        const size_t length = size_t(uint8_t(jpeg[i + 2])) << 8 | uint8_t(jpeg[i + 3]);
        if (marker == 0xDB) return uint8_t(jpeg[i + 5]);
        i += 2 + length;
    }
    return -1;
}
