#pragma once
// Builders for the covers tests: JPEG pictures of a given size, albums with
// picture files in a temporary folder, and tags that carry a picture.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "TempDir.h"
#include "collection/Udir_obj.h"
#include "covers/Thumbnail.h"

// A JPEG whose left half is black and right half white, or one flat colour.
inline std::string MakeJpeg(int width, int height, int quality = 90, uint8_t shade = 0) {
    TRgbImage image;
    image.Width = width;
    image.Height = height;
    image.Pixels.resize(size_t(width) * size_t(height) * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint8_t v = shade != 0 ? shade : (x < width / 2 ? 0 : 255);
            uint8_t* p = &image.Pixels[(size_t(y) * size_t(width) + size_t(x)) * 3];
            p[0] = p[1] = p[2] = v;
        }
    return EncodeJpeg(image, quality);
}

// Adds an album "<dir>/<name>/list.m3u" by artist and title; with a picture
// the JPEG is written next to it and PictureState set.
inline Tm3u& AddAlbumIn(TDirectory& directory, const TempDir& dir, const std::string& name,
                        const std::string& artist, const std::string& title,
                        const std::string& picture = {}) {
    const std::string playlist = dir.File(name + "/list.m3u", "1.mp3\n");
    auto album = std::make_unique<Tm3u>(playlist);
    album->Artist = artist;
    album->Album = title;
    if (!picture.empty()) {
        dir.File(name + "/list.jpg", picture);
        album->PictureState = TPictureState::Present;
    }
    album->AddTrack(dir / (name + "/1.mp3"), false);
    return directory.List[directory.List.Add(playlist, std::move(album))];
}

inline std::string BigEndian(uint32_t v) {
    return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
}

// An ID3v2.3 tag holding one APIC frame of that picture type, then a few
// bytes of "audio".
inline std::string Id3v2WithPicture(const std::string& jpeg, uint8_t type = 3) {
    std::string payload = std::string("\0image/jpeg\0", 12);
    payload += char(type);
    payload += std::string("cover\0", 6);
    payload += jpeg;
    std::string frame = "APIC" + BigEndian(uint32_t(payload.size())) + std::string(2, '\0');
    frame += payload;
    const uint32_t size = uint32_t(frame.size());
    std::string header = std::string("ID3\3\0\0", 6);
    header += char((size >> 21) & 0x7F);
    header += char((size >> 14) & 0x7F);
    header += char((size >> 7) & 0x7F);
    header += char(size & 0x7F);
    return header + frame + std::string(64, '\xAA');
}

inline std::string Base64Encode(const std::string& bytes) {
    static const char* abc = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const uint32_t v = uint32_t(uint8_t(bytes[i])) << 16 |
                           uint32_t(uint8_t(bytes[i + 1])) << 8 | uint8_t(bytes[i + 2]);
        out += {abc[v >> 18], abc[(v >> 12) & 63], abc[(v >> 6) & 63], abc[v & 63]};
    }
    if (bytes.size() - i == 1) {
        const uint32_t v = uint32_t(uint8_t(bytes[i])) << 16;
        out += {abc[v >> 18], abc[(v >> 12) & 63], '=', '='};
    } else if (bytes.size() - i == 2) {
        const uint32_t v = uint32_t(uint8_t(bytes[i])) << 16 | uint32_t(uint8_t(bytes[i + 1])) << 8;
        out += {abc[v >> 18], abc[(v >> 12) & 63], abc[(v >> 6) & 63], '='};
    }
    return out;
}

// The METADATA_BLOCK_PICTURE value of a picture (FLAC picture block, base64).
inline std::string FlacPictureComment(const std::string& jpeg, uint32_t type = 3) {
    const std::string mime = "image/jpeg";
    std::string block = BigEndian(type) + BigEndian(uint32_t(mime.size())) + mime;
    block += BigEndian(0);  // no description
    block += BigEndian(1) + BigEndian(1) + BigEndian(24) + BigEndian(0);
    block += BigEndian(uint32_t(jpeg.size())) + jpeg;
    return "METADATA_BLOCK_PICTURE=" + Base64Encode(block);
}
