#include "core/Log.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <system_error>

#include "TempDir.h"
#include "core/ProgramFolder.h"

TEST(Log, LinesHaveTheirFixedForm) {
    EXPECT_EQ(LogLineLoad(120, 1234), "Load, 120 list files, 1s 234ms");
    EXPECT_EQ(LogLineLoad(3, 57), "Load, 3 list files, 0s 57ms");
    EXPECT_EQ(LogLineSave(0, 2000), "Save, 0 list files, 2s 0ms");
    EXPECT_EQ(LogLineScan(true, 12, 3, 57), "Scan, full, 12 directories, 3 list files, 0s 57ms");
    EXPECT_EQ(LogLineScan(false, 1, 1, 61005), "Scan, fast, 1 directories, 1 list files, 61s 5ms");
}

TEST(Log, AppendsOnlyWhenEnabled) {
    TempDir dir;
    InitProgramFolder("", dir.Path());
    SetLogEnabled(false);
    WriteLog("ignored");
    EXPECT_FALSE(std::filesystem::exists(dir / "mavelo.log"));

    SetLogEnabled(true);
    WriteLog(LogLineLoad(3, 57));
    WriteLog("second");
    SetLogEnabled(false);
    EXPECT_EQ(dir.Read("mavelo.log"), "Load, 3 list files, 0s 57ms\r\nsecond\r\n");
}

TEST(Log, WriteFailureThrows) {
    TempDir dir;
    InitProgramFolder("", dir.Path());
    std::filesystem::create_directory(dir / "mavelo.log");  // a folder cannot be appended to
    SetLogEnabled(true);
    EXPECT_THROW(WriteLog("line"), std::system_error);
    SetLogEnabled(false);
}
