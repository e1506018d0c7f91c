#pragma once
// The lines of the playlist builder's details panel: a picture's size and
// an audio file's length and size.
#include <cstdint>
#include <string>

// "500x500 , 63 kb": the size in KB rounded to the nearest whole number.
std::string PictureDetails(int width, int height, int64_t bytes);
// "4:05 , 6 Mb": whole minutes and seconds of the duration (in ms), the size
// in MB rounded to the nearest whole number.
std::string AudioDetails(int64_t durationMs, int64_t bytes);
