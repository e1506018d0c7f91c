#include "collection/UIo.h"

#include <gtest/gtest.h>

#include "SafeWriteCases.h"

#include <filesystem>
#include <fstream>

#include "TempDir.h"
#include "Unprivileged.h"

namespace {

std::string Bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values) s += static_cast<char>(v);
    return s;
}

TEST(RecordStream, WorkedExamplesEncodeLittleEndian) {
    TLoadSave out;
    out.OpenWriteToMemory();
    out.WriteInteger(1006);
    out.WriteString("abc");
    out.WriteString("");
    out.WriteInteger(-1);
    EXPECT_EQ(out.Bytes(), Bytes({0xEE, 0x03, 0, 0, 3, 0, 0, 0, 'a', 'b', 'c', 0, 0, 0, 0, 0xFF,
                                  0xFF, 0xFF, 0xFF}));
    TLoadSave in;
    in.OpenBytes(out.Bytes());
    EXPECT_EQ(in.ReadInteger(), 1006);
    EXPECT_EQ(in.ReadString(), "abc");
    EXPECT_EQ(in.ReadString(), "");
    EXPECT_EQ(in.ReadInteger(), -1);
    EXPECT_THROW(in.ReadInteger(), EMyFileError);
}

TEST(RecordStream, StringWithZeroByteIsCutButFullyConsumed) {
    TLoadSave in;
    in.OpenBytes(Bytes({4, 0, 0, 0, 'a', 0, 'b', 'c', 7, 0, 0, 0}));
    EXPECT_EQ(in.ReadString(), "a");
    EXPECT_EQ(in.Position(), 8u);
    EXPECT_EQ(in.ReadInteger(), 7);
}

TEST(RecordStream, BadStringLengthsFail) {
    struct Case {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"negative length", Bytes({0xFF, 0xFF, 0xFF, 0xFF, 'a'})},
        {"longer than the rest", Bytes({5, 0, 0, 0, 'a', 'b'})},
        {"length cut short", Bytes({5, 0})},
    };
    for (const auto& c : cases) {
        TLoadSave in;
        in.OpenBytes(c.bytes);
        try {
            in.ReadString();
            ADD_FAILURE() << c.name;
        } catch (const EMyFileError& e) {
            EXPECT_STREQ(e.what(), "Could not read") << c.name;
        }
    }
}

TEST(RecordStream, BlocksHaveNoPrefix) {
    TLoadSave out;
    out.OpenWriteToMemory();
    out.WriteBlock("\x01\x02\x03", 3);
    EXPECT_EQ(out.Bytes(), Bytes({1, 2, 3}));
    TLoadSave in;
    in.OpenBytes(out.Bytes());
    EXPECT_EQ(in.ReadBlock(2), Bytes({1, 2}));
    char rest[2];
    EXPECT_THROW(in.ReadBlock(rest, 2), EMyFileError);
}

TEST(RecordStream, EmptyFileOpensFalseAndFirstReadFails) {
    TempDir dir;
    std::string path = dir.File("empty.bin", "");
    TLoadSave in;
    EXPECT_FALSE(in.OpenRead(path));
    EXPECT_THROW(in.ReadInteger(), EMyFileError);
}

TEST(RecordStream, MissingFileRaisesTheFileError) {
    TLoadSave in;
    EXPECT_THROW(in.OpenRead("/nonexistent/file.mvo"), std::system_error);
}

TEST(RecordStream, FinishWritesOnlyInWriteMode) {
    TempDir dir;
    std::string path = dir.File("list.mvo", "old contents");
    {
        TLoadSave in;
        in.OpenRead(path);
        EXPECT_THROW(in.ReadString(), EMyFileError);
    }
    EXPECT_EQ(dir.Read("list.mvo"), "old contents");
    {
        TLoadSave out;
        out.OpenWrite(path);
    }  // finished by destruction without any write: truncated to 0 bytes
    EXPECT_EQ(dir.Read("list.mvo"), "");
}

TEST(RecordStream, SaveInterruptedByAnExceptionKeepsThePreviousFile) {
    TempDir dir;
    std::string path = dir.File("list.mvo", "previous");
    try {
        TLoadSave out;
        out.OpenWrite(path);
        out.WriteInteger(1006);
        throw std::runtime_error("save failed half-way");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(dir.Read("list.mvo"), "previous");
    EXPECT_FALSE(std::filesystem::exists(path + "~"));
}

TEST(RecordStream, FailedWriteReportsAndKeepsThePreviousFile) {
    TempDir dir;
    std::string path = dir.File("list.mvo", "previous");
    RunUnprivileged({dir.Path()}, [&] {
        std::filesystem::permissions(
            dir.Path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
        TLoadSave out;
        out.OpenWrite(path);
        out.WriteInteger(1);
        EXPECT_THROW(out.Finish(), std::system_error);
        EXPECT_EQ(dir.Read("list.mvo"), "previous");
        std::filesystem::permissions(dir.Path(), std::filesystem::perms::owner_all);
    });
}

TEST(RecordStreamWrite, EverySafeWriteCase) {
    CheckSafeWrites({{"records.bin", [](const std::string& p) { std::ofstream(p) << "old"; },
                      [](const std::string& path) {
                          try {
                              TLoadSave stream;
                              stream.OpenWrite(path);
                              stream.WriteInteger(1006);
                              stream.WriteString("record");
                              stream.Finish();
                              return true;
                          } catch (const std::system_error&) {
                              return false;
                          }
                      },
                      [](const std::string& path) {
                          TLoadSave stream;
                          return stream.OpenRead(path) && stream.ReadInteger() == 1006 &&
                                 stream.ReadString() == "record";
                      }}});
}

}  // namespace

namespace {
// A file larger than the reading window, with texts and a block that cross
// the window's edges and a block larger than the window itself.
TEST(RecordStream, LargeFilesReadAWindowAtATime) {
    TempDir dir;
    TLoadSave out;
    const std::string path = dir / "large.bin";
    out.OpenWrite(path);
    std::vector<std::string> texts;
    for (int i = 0; i < 60000; ++i) {
        texts.push_back("text number " + std::to_string(i) + std::string(size_t(i % 23), 'x'));
        out.WriteString(texts.back());
        out.WriteInteger(i);
    }
    const std::string big(3 << 20, 'b');
    out.WriteInteger(int32_t(big.size()));
    out.WriteBlock(big.data(), big.size());
    out.WriteString("after");
    out.Finish();

    TLoadSave in;
    ASSERT_TRUE(in.OpenRead(path));
    const size_t size = in.Size();
    for (int i = 0; i < 60000; ++i) {
        ASSERT_EQ(in.ReadText(), texts[size_t(i)]) << i;
        ASSERT_EQ(in.ReadInteger(), i);
    }
    EXPECT_EQ(in.ReadBlock(size_t(in.ReadInteger())), big);
    EXPECT_EQ(in.ReadString(), "after");
    EXPECT_EQ(in.Remaining(), 0u);
    EXPECT_EQ(in.Position(), size);
    EXPECT_THROW(in.ReadInteger(), EMyFileError);

    // Cut short: the reading stops with the stream's own error at the cut.
    std::filesystem::resize_file(path, size - 10);
    TLoadSave cut;
    cut.OpenRead(path);
    for (int i = 0; i < 60000; ++i) cut.ReadText(), cut.ReadInteger();
    EXPECT_THROW(cut.ReadBlock(size_t(cut.ReadInteger())), EMyFileError);
}
}  // namespace
