#include "tags/OggOpus.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "TagTestFiles.h"
#include "tags/AudioFile.h"
#include "tags/OggPages.h"
#include "tags/TagBytes.h"
#include "tags/TagFile.h"

namespace {

// The pages of the data: checksums right, sequence numbers consecutive, and
// the granule positions in order.
std::vector<TOggPage> CheckedPages(const std::string& bytes) {
    TMemorySource source(bytes);
    std::vector<TOggPage> pages;
    TOggPage page;
    for (int64_t at = 0; ReadOggPage(source, at, page); at += static_cast<int64_t>(page.TotalSize())) {
        std::string copy = bytes.substr(static_cast<size_t>(at), page.TotalSize());
        const auto stored = static_cast<uint32_t>(ReadLE(copy, 22, 4));
        PutLE32(copy, 22, 0);
        EXPECT_EQ(OggChecksum(copy), stored) << "page " << pages.size();
        if (!pages.empty()) {
            EXPECT_EQ(page.Sequence, pages.back().Sequence + 1);
        }
        pages.push_back(page);
    }
    return pages;
}

TEST(OpusRead, TakesCommentsAndThePlayingTimeAfterPreSkip) {
    const auto file = OpenTagFile(FixturePath("opus.opus"));
    ASSERT_NE(file, nullptr);
    const TTrackTags tags = file->Read();
    EXPECT_EQ(tags.kind, TTagKind::Opus);
    EXPECT_EQ(tags.title, "Sông");
    EXPECT_EQ(tags.artist, "Jay");
    EXPECT_EQ(tags.album, "東京");
    EXPECT_EQ(tags.year, 2004);
    EXPECT_EQ(tags.trackNumber, 3);
    EXPECT_EQ(tags.durationMs, 300);  // 0.3 s of tone, the encoder's delay left out
    EXPECT_GT(tags.bitrate, 0);
    TOggOpus opus;
    const std::string vorbisBytes = FileBytes(FixturePath("vorbis.ogg"));  // the source only looks at them
    TMemorySource vorbis(vorbisBytes);
    EXPECT_FALSE(opus.Load(vorbis));
}

TEST(OpusWrite, PacketsThatGrowRenumberTheLaterPages) {
    const std::string before = FileBytes(FixturePath("opus.opus"));
    const std::vector<TOggPage> oldPages = CheckedPages(before);
    std::string out, problem;
    const std::string title(70000, 'x');  // two pages more
    ASSERT_TRUE(RewriteOpusTags(before, {title, "Jay", "東京", "Pop", 2004}, out, problem));
    const std::vector<TOggPage> newPages = CheckedPages(out);
    EXPECT_EQ(newPages.size(), oldPages.size() + 1);
    // The audio pages carry the same bodies and granule positions.
    ASSERT_GE(oldPages.size(), 3u);
    const auto& lastOld = oldPages.back();
    const auto& lastNew = newPages.back();
    EXPECT_EQ(lastNew.Granule, lastOld.Granule);
    EXPECT_EQ(out.substr(out.size() - lastNew.BodySize), before.substr(before.size() - lastOld.BodySize));
    TMemorySource source(out);
    TOggOpus opus;
    ASSERT_TRUE(opus.Load(source));
    const auto& entries = opus.Comments.Entries;
    EXPECT_NE(std::find(entries.begin(), entries.end(), "TITLE=" + title), entries.end());
    EXPECT_NE(std::find(entries.begin(), entries.end(), "REPLAYGAIN_TRACK_GAIN=-6.00 dB"),
              entries.end());

    // Back to a short title: the pages shrink again.
    std::string again;
    ASSERT_TRUE(RewriteOpusTags(out, {"Short", "Jay", "東京", "Pop", 2004}, again, problem));
    EXPECT_EQ(CheckedPages(again).size(), oldPages.size());
}

TEST(OpusWrite, RefusesWhatIsNotOpus) {
    std::string out, problem;
    for (const char* name : {"vorbis.ogg", "oggflac.oga", "flac.flac"})
        EXPECT_FALSE(RewriteOpusTags(FileBytes(FixturePath(name)), {"T", "", "", "", 0}, out,
                                     problem))
            << name;
    const std::string opus = FileBytes(FixturePath("opus.opus"));
    EXPECT_FALSE(RewriteOpusTags(opus.substr(0, 100), {"T", "", "", "", 0}, out, problem));
}

}  // namespace
