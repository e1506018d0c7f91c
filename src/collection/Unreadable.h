#pragma once
#include <cstddef>
#include <string>
#include <vector>

// What a scan could not read: folders it could not list (wholly or partly),
// and playlists and track files it could not open (special files such as
// pipes included).
struct TUnreadable {
    size_t folders = 0;
    size_t files = 0;
    std::vector<std::string> paths;  // all of them, in the order met
};
