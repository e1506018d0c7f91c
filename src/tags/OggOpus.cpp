#include "tags/OggOpus.h"

#include <cmath>
#include <system_error>

#include "core/FileSystem.h"
#include "tags/ID3v2.h"
#include "tags/OggPages.h"
#include "tags/TagBytes.h"
#include "tags/TagFile.h"
#include "tags/VorbisFields.h"

namespace {

constexpr std::string_view kHead = "OpusHead";
constexpr std::string_view kTags = "OpusTags";
constexpr int64_t kRate = 48000;  // the granule position's clock, whatever the input rate

}  // namespace

bool TOggOpus::Load(const TByteSource& source) {
    *this = TOggOpus();
    FileSize = source.Size();
    ID3v2Size = Id3v2TotalSize(source);
    TOggPackets headers;
    if (!ReadOggPackets(source, ID3v2Size, 2, headers) || headers.Packets.empty()) return false;
    const std::string& head = headers.Packets[0];
    if (head.size() < 19 || !head.starts_with(kHead)) return false;
    Channels = static_cast<uint8_t>(ByteAt(head, 9));
    PreSkip = static_cast<uint16_t>(ReadLE(head, 10, 2));
    if (headers.Packets.size() > 1 && headers.Packets[1].starts_with(kTags))
        HasComments =
            ParseCommentList(std::string_view(headers.Packets[1]).substr(kTags.size()), Comments);
    Granule = std::max<int64_t>(0, LastGranulePosition(source, ID3v2Size, headers.Pages[0].Serial));
    return true;
}

int32_t TOggOpus::DurationMs() const {
    if (Granule <= PreSkip) return 0;
    const int64_t ms = (Granule - PreSkip) * 1000 / kRate;
    return ms > INT32_MAX ? 0 : static_cast<int32_t>(ms);
}

int32_t TOggOpus::BitRate() const {
    const int32_t ms = DurationMs();
    if (ms <= 0) return 0;
    return static_cast<int32_t>(
        std::lround(static_cast<double>(FileSize - ID3v2Size) * 8.0 / ms));
}

bool RewriteOpusTags(std::string_view data, const TTagValues& values, std::string& out,
                     std::string& problem) {
    TMemorySource source(data);
    TOggOpus opus;
    TOggPackets headers;
    const int64_t start = Id3v2TotalSize(source);
    // OpusHead alone on the first page, OpusTags on the pages after it,
    // ending with the last of them; audio starts on a page of its own.
    const bool laidOut = opus.Load(source) && opus.HasComments &&
                         ReadOggPackets(source, start, 2, headers) &&
                         headers.Packets.size() == 2 && headers.EndsWithPacket &&
                         headers.Pages.size() >= 2 &&
                         headers.Pages[0].BodySize == headers.Packets[0].size();
    bool adjacent = laidOut;
    for (size_t i = 1; adjacent && i < headers.Pages.size(); ++i) {
        const TOggPage& before = headers.Pages[i - 1];
        // Pages of another stream between them would be lost with the rewrite.
        adjacent = headers.Pages[i].Offset == before.Offset + static_cast<int64_t>(before.TotalSize());
    }
    if (!adjacent) {
        problem = "not an Ogg Opus file whose comments can be written:";
        return false;
    }
    TVorbisComments comments = opus.Comments;
    ApplyTagValues(comments, values);
    const TOggPage& second = headers.Pages[1];
    size_t pageCount = 0;
    const std::string pages = MakeOggPages({std::string(kTags) + BuildCommentList(comments)},
                                           second.Serial, second.Sequence, pageCount);
    std::string rest(data.substr(static_cast<size_t>(headers.End)));
    const int64_t delta =
        static_cast<int64_t>(pageCount) - static_cast<int64_t>(headers.Pages.size() - 1);
    if (delta != 0) RenumberOggPages(rest, second.Serial, delta);
    out.assign(data.substr(0, static_cast<size_t>(second.Offset)));
    out += pages;
    out += rest;
    return true;
}

TWriteResult WriteOpusTags(const std::string& path, const TTagValues& values) {
    return RewriteWholeFile(path, [&](std::string_view data, std::string& out, std::string& problem) {
        return RewriteOpusTags(data, values, out, problem);
    });
}
