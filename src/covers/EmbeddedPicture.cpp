#include "covers/EmbeddedPicture.h"

#include <cstdint>

#include "core/Ucommon.h"
#include "tags/Flac.h"
#include "tags/ID3v2.h"
#include "tags/Mp4.h"
#include "tags/OggOpus.h"
#include "tags/OggVorbis.h"
#include "tags/TagFile.h"

namespace {

constexpr int kFrontCover = 3;

bool LooksLikeJpeg(std::string_view data) {
    return data.size() > 3 && uint8_t(data[0]) == 0xFF && uint8_t(data[1]) == 0xD8;
}

// Keeps the best picture met so far: a front cover beats any other kind.
struct TPictureChoice {
    std::string bytes;
    bool front = false;
    void Offer(std::string_view data, int type) {
        if (!LooksLikeJpeg(data) || front) return;
        if (bytes.empty() || type == kFrontCover) {
            bytes.assign(data);
            front = type == kFrontCover;
        }
    }
};

// Position just past a description ended by a zero of its encoding's width.
size_t SkipTerminated(std::string_view data, size_t pos, bool wide) {
    if (!wide) {
        const size_t end = data.find('\0', pos);
        return end == std::string_view::npos ? data.size() : end + 1;
    }
    for (size_t i = pos; i + 1 < data.size(); i += 2)
        if (data[i] == 0 && data[i + 1] == 0) return i + 2;
    return data.size();
}

// An APIC (or 2.2 PIC) payload: encoding, format, picture type, description, data.
void OfferApic(std::string_view p, bool v22, TPictureChoice& choice) {
    if (p.size() < 4) return;
    const uint8_t encoding = uint8_t(p[0]);
    size_t pos = 1;
    if (v22) {
        pos = 4;  // three letters of image format
    } else {
        const size_t end = p.find('\0', 1);
        if (end == std::string_view::npos) return;
        pos = end + 1;
    }
    if (pos >= p.size()) return;
    const int type = uint8_t(p[pos++]);
    pos = SkipTerminated(p, pos, encoding == 1 || encoding == 2);
    if (pos < p.size()) choice.Offer(p.substr(pos), type);
}

uint32_t BigEndian32(std::string_view data, size_t pos) {
    return uint32_t(uint8_t(data[pos])) << 24 | uint32_t(uint8_t(data[pos + 1])) << 16 |
           uint32_t(uint8_t(data[pos + 2])) << 8 | uint32_t(uint8_t(data[pos + 3]));
}

// A FLAC picture block: type, MIME, description, four numbers, data.
void OfferFlacPicture(std::string_view block, TPictureChoice& choice) {
    size_t pos = 0;
    auto number = [&](uint32_t& value) {
        if (pos + 4 > block.size()) return false;
        value = BigEndian32(block, pos);
        pos += 4;
        return true;
    };
    uint32_t type = 0, length = 0, skip = 0;
    if (!number(type) || !number(length) || length > block.size() - pos) return;
    pos += length;  // MIME type
    if (!number(length) || length > block.size() - pos) return;
    pos += length;  // description
    for (int i = 0; i < 4; ++i)
        if (!number(skip)) return;  // width, height, depth, colours
    if (!number(length) || length > block.size() - pos) return;
    choice.Offer(block.substr(pos, length), int(type));
}

int Base64Value(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

}  // namespace

std::string Base64Decode(std::string_view text) {
    std::string out;
    out.reserve(text.size() / 4 * 3);
    uint32_t bits = 0;
    int count = 0;
    for (char c : text) {
        if (c == '=') break;
        if (c == '\n' || c == '\r' || c == ' ' || c == '\t') continue;
        const int v = Base64Value(c);
        if (v < 0) return {};
        bits = (bits << 6) | uint32_t(v);
        if (++count == 4) {
            out.push_back(char(bits >> 16));
            out.push_back(char(bits >> 8));
            out.push_back(char(bits));
            bits = 0;
            count = 0;
        }
    }
    if (count == 1) return {};
    if (count >= 2) out.push_back(char(bits >> (count == 2 ? 4 : 10)));
    if (count == 3) out.push_back(char(bits >> 2));
    return out;
}

std::string Id3v2Picture(const TID3v2& tag) {
    TPictureChoice choice;
    for (const TID3v2Frame& frame : tag.Frames()) {
        const bool v22 = frame.Id == "PIC";
        if (frame.Id != "APIC" && !v22) continue;
        if (auto payload = FramePayload(frame, tag.Version)) OfferApic(*payload, v22, choice);
    }
    return choice.bytes;
}

std::string VorbisPicture(const TVorbisComments& comments) {
    static constexpr std::string_view kName = "METADATA_BLOCK_PICTURE=";
    TPictureChoice choice;
    for (const std::string& entry : comments.Entries)
        if (entry.size() > kName.size() && SameTextAscii(entry.substr(0, kName.size()), kName))
            OfferFlacPicture(Base64Decode(std::string_view(entry).substr(kName.size())), choice);
    return choice.bytes;
}

std::string EmbeddedPicture(const std::string& audioPath) {
    TFileSource file(audioPath);
    if (!file.IsOpen()) return {};
    TID3v2 id3;
    if (id3.Load(file) && id3.Present) {
        std::string picture = Id3v2Picture(id3);
        if (!picture.empty()) return picture;
    }
    TOggVorbis ogg;
    if (ogg.Load(file)) return VorbisPicture(ogg.Comments());
    TOggOpus opus;
    if (opus.Load(file)) return VorbisPicture(opus.Comments);
    TPictureChoice choice;
    TFlacFile flac;
    if (flac.Load(file)) {
        for (const auto& block : flac.Pictures)
            OfferFlacPicture(file.ReadAt(block.Offset, block.Size), choice);
        return choice.bytes;
    }
    // MP4 covers carry no picture type: the first JPEG stands for the front.
    TMp4File mp4;
    if (mp4.Load(file))
        for (const auto& cover : mp4.Covers) choice.Offer(cover.Bytes, kFrontCover);
    return choice.bytes;
}
