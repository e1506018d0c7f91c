#pragma once
// The CRC-32 of IEEE 802.3 (as in zlib and PNG): reflected polynomial
// 0xEDB88320, initial value all ones, result complemented.  Covers databases
// store it as a signed 32-bit number.
#include <cstdint>
#include <string_view>

uint32_t Crc32(std::string_view bytes);
// The same checksum in the signed form the covers database stores.
int32_t Crc32Signed(std::string_view bytes);
