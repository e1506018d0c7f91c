#include "tags/Flac.h"

#include <cmath>
#include <system_error>

#include "core/FileSystem.h"
#include "tags/ID3v2.h"
#include "tags/OggPages.h"
#include "tags/TagBytes.h"
#include "tags/TagFile.h"
#include "tags/VorbisFields.h"

namespace {

constexpr std::string_view kMagic = "fLaC";
constexpr uint8_t kStreamInfo = 0, kPadding = 1, kVorbisComment = 4, kPicture = 6;
constexpr uint8_t kLastBlock = 0x80;
constexpr uint32_t kLargestBlock = 0xFFFFFF;
// A comment block larger than this is not read (a damaged length).
constexpr uint32_t kLargestCommentBlock = 16 * 1024 * 1024;

struct TBlockHeader {
    bool last = false;
    uint8_t type = 0;
    uint32_t size = 0;
};

TBlockHeader ParseBlockHeader(std::string_view header) {
    return {(ByteAt(header, 0) & kLastBlock) != 0, static_cast<uint8_t>(ByteAt(header, 0) & 0x7F),
            ReadBE(header, 1, 3)};
}

void AppendBlock(std::string& out, uint8_t type, bool last, std::string_view data) {
    out += static_cast<char>(type | (last ? kLastBlock : 0));
    AppendBE(out, static_cast<uint32_t>(data.size()), 3);
    out += data;
}

}  // namespace

bool ParseFlacStreamInfo(std::string_view block, TFlacStreamInfo& info) {
    if (block.size() < 34) return false;
    info.SampleRate = (ByteAt(block, 10) << 12) | (ByteAt(block, 11) << 4) | (ByteAt(block, 12) >> 4);
    info.Channels = static_cast<uint8_t>(((ByteAt(block, 12) >> 1) & 7) + 1);
    info.BitsPerSample =
        static_cast<uint8_t>((((ByteAt(block, 12) & 1) << 4) | (ByteAt(block, 13) >> 4)) + 1);
    info.TotalSamples = (uint64_t{ByteAt(block, 13) & 0x0F} << 32) | ReadBE(block, 14, 4);
    return true;
}

bool TFlacFile::Load(const TByteSource& source) {
    *this = TFlacFile();
    FileSize = source.Size();
    ID3v2Size = Id3v2TotalSize(source);
    if (source.ReadAt(ID3v2Size, 4) != kMagic) return false;
    int64_t at = ID3v2Size + 4;
    bool seenInfo = false;
    for (bool last = false; !last;) {
        const std::string header = source.ReadAt(at, 4);
        if (header.size() < 4) return seenInfo;  // cut short: what was read stands
        const TBlockHeader block = ParseBlockHeader(header);
        last = block.last;
        const int64_t data = at + 4;
        if (data + block.size > FileSize) return seenInfo;
        if (block.type == kStreamInfo && !seenInfo) {
            seenInfo = ParseFlacStreamInfo(source.ReadAt(data, 34), Info);
            if (!seenInfo) return false;
        } else if (block.type == kVorbisComment && !HasComments &&
                   block.size <= kLargestCommentBlock) {
            HasComments = ParseCommentList(source.ReadAt(data, block.size), Comments);
        } else if (block.type == kPicture) {
            Pictures.push_back({data, block.size});
        }
        at = data + block.size;
    }
    AudioStart = at;
    return seenInfo;
}

bool TFlacFile::LoadOgg(const TByteSource& source) {
    *this = TFlacFile();
    FileSize = source.Size();
    ID3v2Size = Id3v2TotalSize(source);
    // The first packet: "\x7FFLAC", version (2), header packets (2), "fLaC",
    // then the STREAMINFO block with its header.
    TOggPackets first;
    if (!ReadOggPackets(source, ID3v2Size, 1, first) || first.Packets.empty()) return false;
    const std::string& mapping = first.Packets[0];
    if (mapping.size() < 51 || !mapping.starts_with("\x7F" "FLAC") ||
        mapping.substr(9, 4) != kMagic || !ParseFlacStreamInfo(mapping.substr(17), Info))
        return false;
    // A few header packets at most: each is one metadata block.
    const size_t headers = std::min<size_t>(ReadBE(mapping, 7, 2), 16);
    TOggPackets packets;
    ReadOggPackets(source, ID3v2Size, 1 + headers, packets);
    for (size_t i = 1; i < packets.Packets.size(); ++i) {
        const std::string& block = packets.Packets[i];
        if (block.size() >= 4 && (ByteAt(block, 0) & 0x7F) == kVorbisComment && !HasComments)
            HasComments = ParseCommentList(std::string_view(block).substr(4), Comments);
    }
    if (Info.TotalSamples == 0) {
        const int64_t granule = LastGranulePosition(source, ID3v2Size, first.Pages[0].Serial);
        if (granule > 0) Info.TotalSamples = static_cast<uint64_t>(granule);
    }
    AudioStart = packets.End;
    return true;
}

int32_t TFlacFile::DurationMs() const {
    if (Info.SampleRate == 0 || Info.TotalSamples == 0) return 0;
    const uint64_t ms = Info.TotalSamples * 1000 / Info.SampleRate;
    return ms > INT32_MAX ? 0 : static_cast<int32_t>(ms);
}

int32_t TFlacFile::BitRate() const {
    const int32_t ms = DurationMs();
    if (ms <= 0 || FileSize <= AudioStart) return 0;
    return static_cast<int32_t>(std::lround(static_cast<double>(FileSize - AudioStart) * 8.0 / ms));
}

namespace {

struct TBlock {
    TBlockHeader header;
    std::string_view data;
};

// Every block of the file; false when one runs past the end.
bool SplitBlocks(std::string_view data, size_t start, std::vector<TBlock>& blocks, size_t& end) {
    size_t at = start;
    for (bool last = false; !last;) {
        if (data.size() - at < 4) return false;
        const TBlockHeader header = ParseBlockHeader(data.substr(at, 4));
        if (data.size() - at - 4 < header.size) return false;
        blocks.push_back({header, data.substr(at + 4, header.size)});
        last = header.last;
        at += 4 + header.size;
    }
    end = at;
    return !blocks.empty() && blocks[0].header.type == kStreamInfo;
}

}  // namespace

bool RewriteFlacTags(std::string_view data, const TTagValues& values, std::string& out,
                     std::string& problem) {
    TMemorySource source(data);
    const auto start = static_cast<size_t>(Id3v2TotalSize(source));
    std::vector<TBlock> blocks;
    size_t audio = 0;
    if (data.substr(start, 4) != kMagic || !SplitBlocks(data, start + 4, blocks, audio)) {
        problem = "not a FLAC file whose blocks can be read:";
        return false;
    }
    TVorbisComments comments;
    comments.Vendor = "Mavelo";
    size_t commentAt = 1;  // a new comment block follows STREAMINFO
    bool found = false;
    for (size_t i = 0; i < blocks.size() && !found; ++i)
        if (blocks[i].header.type == kVorbisComment) {
            found = ParseCommentList(blocks[i].data, comments);
            commentAt = i;
        }
    ApplyTagValues(comments, values);
    const std::string commentBlock = BuildCommentList(comments);
    if (commentBlock.size() > kLargestBlock) {
        problem = "the comments do not fit into a FLAC block:";
        return false;
    }

    // The blocks as they will be, padding aside.
    std::vector<std::pair<uint8_t, std::string_view>> kept;
    int padding = -1;
    size_t size = 0;
    for (size_t i = 0; i < blocks.size(); ++i) {
        if (i == commentAt && found) {
            kept.emplace_back(kVorbisComment, commentBlock);
        } else {
            if (i == commentAt && !found) kept.emplace_back(kVorbisComment, commentBlock);
            if (blocks[i].header.type == kPadding && padding < 0) {
                padding = static_cast<int>(kept.size());
                kept.emplace_back(kPadding, std::string_view());
                continue;
            }
            kept.emplace_back(blocks[i].header.type, blocks[i].data);
        }
    }
    if (!found && commentAt >= blocks.size()) kept.emplace_back(kVorbisComment, commentBlock);
    for (const auto& block : kept) size += 4 + block.second.size();
    // Padding takes up the difference when it can, so the frames stay put;
    // otherwise the blocks get fresh padding for the next write.
    const size_t before = audio - start - 4;
    const size_t header = padding >= 0 ? 0 : 4;  // a new padding block's header
    size_t paddingSize = FlacNewPadding;
    if (padding < 0 && before == size)
        paddingSize = 0;
    else if (before >= size + header)
        paddingSize = before - size - header;
    if (paddingSize > kLargestBlock) paddingSize = FlacNewPadding;
    if (padding < 0 && paddingSize > 0) {
        padding = static_cast<int>(kept.size());
        kept.emplace_back(kPadding, std::string_view());
    }
    const std::string zeros(padding >= 0 ? paddingSize : 0, '\0');
    if (padding >= 0) kept[static_cast<size_t>(padding)].second = zeros;

    out.clear();
    out.reserve(data.size() + zeros.size() + commentBlock.size());
    out += data.substr(0, start + 4);
    for (size_t i = 0; i < kept.size(); ++i)
        AppendBlock(out, kept[i].first, i + 1 == kept.size(), kept[i].second);
    out += data.substr(audio);
    return true;
}

TWriteResult WriteFlacTags(const std::string& path, const TTagValues& values) {
    return RewriteWholeFile(path, [&](std::string_view data, std::string& out, std::string& problem) {
        return RewriteFlacTags(data, values, out, problem);
    });
}
