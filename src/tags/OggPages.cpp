#include "tags/OggPages.h"

#include <algorithm>
#include <array>

#include "tags/TagBytes.h"
#include "tags/TagFile.h"

namespace {

constexpr size_t FixedHeader = 27;
constexpr size_t MaxSegments = 255;
// A header packet larger than this is taken as damage, not data.
constexpr size_t MaxPacketSize = size_t{256} << 20;

const std::array<uint32_t, 256>& ChecksumTable() {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t r = i << 24;
            for (int k = 0; k < 8; ++k) r = (r & 0x80000000u) ? (r << 1) ^ 0x04C11DB7u : r << 1;
            t[i] = r;
        }
        return t;
    }();
    return table;
}

// Parses a page header from bytes that begin with it.
bool ParsePageHeader(std::string_view bytes, TOggPage& page) {
    if (bytes.size() < FixedHeader || bytes.substr(0, 4) != "OggS" || bytes[4] != 0) return false;
    const size_t segments = ByteAt(bytes, 26);
    if (bytes.size() < FixedHeader + segments) return false;
    page.HeaderType = static_cast<uint8_t>(bytes[5]);
    page.Granule = ReadLE(bytes, 6, 8);
    page.Serial = static_cast<uint32_t>(ReadLE(bytes, 14, 4));
    page.Sequence = static_cast<uint32_t>(ReadLE(bytes, 18, 4));
    page.Lacing = std::string(bytes.substr(FixedHeader, segments));
    page.BodySize = 0;
    for (char v : page.Lacing) page.BodySize += static_cast<unsigned char>(v);
    return true;
}

// Writes the checksum of the complete page that starts at `at`.
void SealPage(std::string& bytes, size_t at, size_t size) {
    PutLE32(bytes, at + 22, 0);
    PutLE32(bytes, at + 22, OggChecksum(std::string_view(bytes).substr(at, size)));
}

}  // namespace

uint32_t OggChecksum(std::string_view bytes) {
    const auto& table = ChecksumTable();
    uint32_t crc = 0;
    for (char c : bytes)
        crc = (crc << 8) ^ table[((crc >> 24) ^ static_cast<unsigned char>(c)) & 0xFF];
    return crc;
}

bool ReadOggPage(const TByteSource& source, int64_t offset, TOggPage& page) {
    if (!ParsePageHeader(source.ReadAt(offset, FixedHeader + MaxSegments), page)) return false;
    page.Offset = offset;
    return true;
}

bool ReadOggPackets(const TByteSource& source, int64_t offset, size_t count, TOggPackets& result) {
    result = TOggPackets();
    TOggPage page;
    if (!ReadOggPage(source, offset, page)) return false;
    const uint32_t serial = page.Serial;
    std::string partial;
    for (int64_t pos = offset; result.Packets.size() < count && ReadOggPage(source, pos, page);
         pos += static_cast<int64_t>(page.TotalSize())) {
        if (page.Serial != serial) continue;
        const std::string body =
            source.ReadAt(pos + static_cast<int64_t>(page.HeaderSize()), page.BodySize);
        if (body.size() < page.BodySize) break;
        result.Pages.push_back(page);
        result.End = pos + static_cast<int64_t>(page.TotalSize());
        size_t at = 0;
        for (size_t i = 0; i < page.Lacing.size() && result.Packets.size() < count; ++i) {
            const size_t length = static_cast<unsigned char>(page.Lacing[i]);
            partial.append(body, at, length);
            at += length;
            if (partial.size() > MaxPacketSize) return true;
            if (length == MaxSegments) continue;
            result.Packets.push_back(std::move(partial));
            partial.clear();
            result.EndsWithPacket = i + 1 == page.Lacing.size();
        }
    }
    return true;
}

namespace {

// The last page of the stream in the data's final `window` bytes that ends a packet.
int64_t LastGranuleWithin(const TByteSource& source, int64_t start, uint32_t serial,
                          int64_t window) {
    const int64_t from = std::max(start, source.Size() - window);
    const std::string tail = source.ReadAt(from, static_cast<size_t>(source.Size() - from));
    for (size_t at = tail.rfind("OggS"); at != std::string::npos;
         at = at == 0 ? std::string::npos : tail.rfind("OggS", at - 1)) {
        TOggPage page;
        std::string_view rest = std::string_view(tail).substr(at);
        if (!ParsePageHeader(rest, page) || page.TotalSize() > rest.size()) continue;
        if (page.Serial != serial || page.Granule == OggNoGranule) continue;
        std::string copy(rest.substr(0, page.TotalSize()));
        const auto stored = static_cast<uint32_t>(ReadLE(copy, 22, 4));
        SealPage(copy, 0, copy.size());
        if (ReadLE(copy, 22, 4) != stored) continue;  // "OggS" inside audio data
        return static_cast<int64_t>(std::min<uint64_t>(page.Granule, INT64_MAX));
    }
    return -1;
}

}  // namespace

int64_t LastGranulePosition(const TByteSource& source, int64_t start, uint32_t serial) {
    // Last pages are usually small; the largest possible one still begins
    // within the wider window.
    constexpr int64_t Largest = FixedHeader + MaxSegments + MaxSegments * MaxSegments;
    int64_t granule = LastGranuleWithin(source, start, serial, 8192);
    if (granule < 0 && source.Size() - start > 8192)
        granule = LastGranuleWithin(source, start, serial, 2 * Largest);
    return granule;
}

std::string MakeOggPages(const std::vector<std::string>& packets, uint32_t serial,
                         uint32_t sequence, size_t& pageCount) {
    struct Segment {
        std::string_view bytes;
        bool endsPacket;
    };
    std::vector<Segment> segments;
    for (const std::string& packet : packets) {
        std::string_view rest = packet;
        while (rest.size() >= MaxSegments) {
            segments.push_back({rest.substr(0, MaxSegments), false});
            rest.remove_prefix(MaxSegments);
        }
        segments.push_back({rest, true});  // shorter than 255, maybe empty: ends the packet
    }
    std::string out;
    pageCount = 0;
    bool continued = false;
    for (size_t first = 0; first < segments.size(); first += MaxSegments) {
        const size_t last = std::min(segments.size(), first + MaxSegments);
        bool endsPacket = false;
        std::string lacing, body;
        for (size_t i = first; i < last; ++i) {
            lacing += static_cast<char>(segments[i].bytes.size());
            body += segments[i].bytes;
            endsPacket = endsPacket || segments[i].endsPacket;
        }
        const size_t at = out.size();
        out += "OggS";
        out += '\0';
        out += static_cast<char>(continued ? OggContinued : 0);
        AppendLE(out, endsPacket ? 0 : OggNoGranule, 8);
        AppendLE(out, serial, 4);
        AppendLE(out, sequence + pageCount, 4);
        AppendLE(out, 0, 4);
        out += static_cast<char>(lacing.size());
        out += lacing;
        out += body;
        SealPage(out, at, out.size() - at);
        continued = !segments[last - 1].endsPacket;
        ++pageCount;
    }
    return out;
}

void RenumberOggPages(std::string& bytes, uint32_t serial, int64_t delta) {
    TOggPage page;
    for (size_t at = 0; at < bytes.size(); at += page.TotalSize()) {
        std::string_view rest = std::string_view(bytes).substr(at);
        if (!ParsePageHeader(rest, page) || page.TotalSize() > rest.size()) return;
        if (page.Serial != serial) continue;
        PutLE32(bytes, at + 18, static_cast<uint32_t>(page.Sequence + delta));
        SealPage(bytes, at, page.TotalSize());
    }
}
