#pragma once
// Fixture access for the tag tests: the committed files of tests/data/tags,
// copied into a temporary folder before a test changes them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "TempDir.h"

inline std::string FixturePath(const std::string& name) {
    return std::string(MAVELO_TEST_DATA) + "/tags/" + name;
}

inline std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

inline std::string CopyFixture(const TempDir& dir, const std::string& name) {
    return dir.File(name, FileBytes(FixturePath(name)));
}

// Loads the file's tag, lets `change` set values, stores the tag and returns
// it as read back from the file.
template <typename Tag, typename Change>
Tag StoreAndReload(const std::string& path, Change change) {
    Tag tag;
    EXPECT_TRUE(tag.Load(path)) << path;
    change(tag);
    EXPECT_TRUE(tag.Store(path)) << path;
    Tag back;
    EXPECT_TRUE(back.Load(path)) << path;
    return back;
}
