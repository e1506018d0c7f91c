#include "builder/BuilderDetails.h"

#include <cstdio>

namespace {
int64_t RoundedUnits(int64_t bytes, int64_t unit) {
    return (bytes + unit / 2) / unit;
}
}  // namespace

std::string PictureDetails(int width, int height, int64_t bytes) {
    return std::to_string(width) + "x" + std::to_string(height) + " , " +
           std::to_string(RoundedUnits(bytes, 1024)) + " kb";
}

std::string AudioDetails(int64_t durationMs, int64_t bytes) {
    const int64_t seconds = durationMs / 1000;
    char length[32];
    std::snprintf(length, sizeof length, "%lld:%.2lld", static_cast<long long>(seconds / 60),
                  static_cast<long long>(seconds % 60));
    return std::string(length) + " , " + std::to_string(RoundedUnits(bytes, 1024 * 1024)) + " Mb";
}
