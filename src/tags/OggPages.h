#pragma once
// Ogg pages: reading the first packets of a logical stream, finding the last
// page's granule position, and laying packets out as new pages with correct
// sequence numbers and checksums.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TByteSource;

inline constexpr uint8_t OggContinued = 0x01;  // header type: the page continues a packet
inline constexpr uint64_t OggNoGranule = ~uint64_t{0};

struct TOggPage {
    int64_t Offset = 0;  // of the page in the data
    uint8_t HeaderType = 0;
    uint64_t Granule = 0;
    uint32_t Serial = 0;
    uint32_t Sequence = 0;
    std::string Lacing;  // the segment table
    size_t BodySize = 0;

    size_t HeaderSize() const { return 27 + Lacing.size(); }
    size_t TotalSize() const { return HeaderSize() + BodySize; }
};

// The page checksum: CRC-32 with polynomial 0x04C11DB7, initial value 0,
// most significant bit first, no final complement.
uint32_t OggChecksum(std::string_view bytes);

// Reads the page header at the offset; false when there is no page there.
bool ReadOggPage(const TByteSource& source, int64_t offset, TOggPage& page);

struct TOggPackets {
    std::vector<std::string> Packets;  // the complete packets, in order
    std::vector<TOggPage> Pages;       // the pages they came from
    int64_t End = 0;                   // where the last of those pages ends
    bool EndsWithPacket = false;       // no segment follows the last packet on its page
};
// Reads up to `count` packets of the logical stream whose first page is at
// `offset`; the result holds what could be read (pages of other streams are
// passed over).  False when there is no page at the offset.
bool ReadOggPackets(const TByteSource& source, int64_t offset, size_t count, TOggPackets& result);

// The granule position of the last page of the stream `serial` that lies
// after `start` and ends a packet, found from the end of the data; -1 if none.
int64_t LastGranulePosition(const TByteSource& source, int64_t start, uint32_t serial);

// The packets as pages of the stream, numbered from `sequence`; the first
// page starts a new packet.  Header packets carry granule position 0 on pages
// where a packet ends.
std::string MakeOggPages(const std::vector<std::string>& packets, uint32_t serial,
                         uint32_t sequence, size_t& pageCount);

// Moves the sequence numbers of the stream's pages in `bytes` by `delta` and
// renews their checksums; bytes that are not a page end the walk (and stay).
void RenumberOggPages(std::string& bytes, uint32_t serial, int64_t delta);
