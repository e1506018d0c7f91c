// Damaged files: every reader and writer must survive thousands of mutated
// fixtures without crashing, hanging or reading out of bounds (the sanitizer
// build checks the last).  The seed is fixed, so a failure repeats.
#include <gtest/gtest.h>

#include <random>
#include <type_traits>

#include "TagTestFiles.h"
#include "tags/Flac.h"
#include "tags/ID3v1.h"
#include "tags/ID3v2.h"
#include "tags/Mp4.h"
#include "tags/OggOpus.h"
#include "tags/OggVorbis.h"
#include "tags/TagFile.h"
#include "tags/WMAfile.h"

namespace {

const char* const Fixtures[] = {
    "id3v1_v10.mp3",
    "id3v22.mp3",
    "id3v23_full.mp3",
    "id3v23_unsync.mp3",
    "id3v24_utf8.mp3",
    "id3v24_unsync.mp3",
    "id3v24_plain_sizes.mp3",
    "id3v2_encodings.mp3",
    "id3v23_extended_header.mp3",
    "vorbis.ogg",
    "vorbis_picture.ogg",
    "vorbis_id3.ogg",
    "wma.wma",
    "flac.flac",
    "flac_picture.flac",
    "flac_id3.flac",
    "oggflac.oga",
    "opus.opus",
    "aac.m4a",
    "alac.m4a",
};

class Mutator {
  public:
    explicit Mutator(uint32_t seed) : random_(seed) {}

    // One to a few damages, mostly where headers live: the start and the end.
    std::string Mutate(std::string bytes) {
        const int damages = Pick(1, 4);
        for (int i = 0; i < damages && !bytes.empty(); ++i) {
            switch (Pick(0, 5)) {
                case 0:
                    bytes[Position(bytes)] ^= static_cast<char>(1 << Pick(0, 7));
                    break;
                case 1:
                    bytes[Position(bytes)] = Special();
                    break;
                case 2:
                    bytes.resize(Position(bytes));
                    break;
                case 3:
                    bytes.insert(Position(bytes), std::string(Pick(1, 300), Special()));
                    break;
                case 4:
                    bytes.erase(Position(bytes), Pick(1, 64));
                    break;
                default:  // a plausible size field turned huge or zero
                    for (int k = 0; k < 4 && !bytes.empty(); ++k)
                        bytes[Position(bytes)] = Special();
            }
        }
        return bytes;
    }

  private:
    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    char Special() {
        static const char values[] = {'\0', '\x7F', '\x80', '\xFF', '\x01', 'O', '='};
        return values[Pick(0, sizeof values - 1)];
    }
    size_t Position(const std::string& bytes) {
        const size_t size = bytes.size();
        const int where = Pick(0, 9);
        if (where < 6) return static_cast<size_t>(Pick(0, 1200)) % size;
        if (where < 8) return size - 1 - static_cast<size_t>(Pick(0, 200)) % size;
        return static_cast<size_t>(Pick(0, static_cast<int>(size - 1)));
    }
    std::mt19937 random_;
};

void ReadWithEveryReader(const std::string& bytes) {
    TMemorySource source(bytes);
    TID3v1 v1;
    v1.Load(source);
    TID3v2 v2;
    v2.Load(source);
    TOggVorbis ogg;
    if (ogg.Load(source)) {
        ogg.Valid();
        ogg.BitRate();
    }
    TWMAfile wma;
    wma.Load(source);
    TFlacFile flac;
    flac.Load(source);
    flac.LoadOgg(source);
    TOggOpus opus;
    opus.Load(source);
    TMp4File mp4;
    mp4.Load(source);
    // The rewrites either refuse or give a file that reads again.
    std::string out, problem;
    const TTagValues values{"Fuzzed", "A", "", "Rock", 2020};
    if (RewriteFlacTags(bytes, values, out, problem)) {
        TMemorySource written(out);
        EXPECT_TRUE(flac.Load(written));
    }
    if (RewriteOpusTags(bytes, values, out, problem)) {
        TMemorySource written(out);
        EXPECT_TRUE(opus.Load(written));
    }
    if (RewriteMp4Tags(bytes, values, out, problem)) {
        TMemorySource written(out);
        EXPECT_TRUE(mp4.Load(written));
    }
}

TEST(TagFuzz, MutatedFilesAreReadWithoutHarm) {
    Mutator mutator(20240611);
    int reads = 0;
    for (const char* name : Fixtures) {
        const std::string original = FileBytes(FixturePath(name));
        for (int i = 0; i < 2000; ++i, ++reads) ReadWithEveryReader(mutator.Mutate(original));
    }
    EXPECT_GE(reads, 20000);
}

// Stores a new title through the writer of the file's kind.
template <typename Tag>
bool StoreTitle(const std::string& path) {
    Tag tag;
    tag.Load(path);
    if constexpr (std::is_same_v<Tag, TID3v2>)
        tag.SetTitle("Fuzzed");
    else
        tag.Title = "Fuzzed";
    return tag.Store(path);
}

template <typename Tag>
std::string TitleAfterLoad(const std::string& path) {
    Tag tag;
    return tag.Load(path) ? tag.Title : "(not loaded)";
}

TEST(TagFuzz, WritersRefuseOrWriteReadableTags) {
    Mutator mutator(7);
    TempDir dir;
    for (const char* name : {"id3v23_full.mp3", "id3v24_unsync.mp3", "vorbis_picture.ogg"}) {
        const std::string original = FileBytes(FixturePath(name));
        const bool ogg = std::string(name).ends_with(".ogg");
        for (int i = 0; i < 60; ++i) {
            const std::string damaged = mutator.Mutate(original);
            const std::string path = dir.File(name, damaged);
            const bool stored = ogg ? StoreTitle<TOggVorbis>(path) : StoreTitle<TID3v2>(path);
            const std::string title =
                ogg ? TitleAfterLoad<TOggVorbis>(path) : TitleAfterLoad<TID3v2>(path);
            if (stored) {
                EXPECT_EQ(title, "Fuzzed") << name << " " << i;
            } else {
                EXPECT_EQ(FileBytes(path), damaged) << name << " " << i;
            }
            EXPECT_FALSE(std::filesystem::exists(path + "~"));
        }
    }
}

}  // namespace
