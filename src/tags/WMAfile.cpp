#include "tags/WMAfile.h"

#include <array>

#include "core/Ucommon.h"
#include "tags/TagBytes.h"
#include "tags/TagFile.h"
#include "tags/TagText.h"

namespace {

using Guid = std::array<uint8_t, 16>;

// A GUID in the order ASF stores it: the first three groups little-endian.
constexpr Guid MakeGuid(uint32_t a, uint16_t b, uint16_t c, uint64_t d) {
    Guid g{};
    for (int i = 0; i < 4; ++i) g[i] = static_cast<uint8_t>(a >> (8 * i));
    for (int i = 0; i < 2; ++i) g[4 + i] = static_cast<uint8_t>(b >> (8 * i));
    for (int i = 0; i < 2; ++i) g[6 + i] = static_cast<uint8_t>(c >> (8 * i));
    for (int i = 0; i < 8; ++i) g[8 + i] = static_cast<uint8_t>(d >> (8 * (7 - i)));
    return g;
}

constexpr Guid HeaderObject = MakeGuid(0x75B22630, 0x668E, 0x11CF, 0xA6D900AA0062CE6C);
constexpr Guid FileProperties = MakeGuid(0x8CABDCA1, 0xA947, 0x11CF, 0x8EE400C00C205365);
constexpr Guid StreamProperties = MakeGuid(0xB7DC0791, 0xA9B7, 0x11CF, 0x8EE600C00C205365);
constexpr Guid AudioMedia = MakeGuid(0xF8699E40, 0x5B4D, 0x11CF, 0xA8FD00805F5C442B);
constexpr Guid ContentDescription = MakeGuid(0x75B22633, 0x668E, 0x11CF, 0xA6D900AA0062CE6C);
constexpr Guid ExtendedDescription = MakeGuid(0xD2D0A440, 0xE307, 0x11D2, 0x97F000A0C95EA850);

bool Is(std::string_view bytes, const Guid& guid) {
    return bytes.size() >= guid.size() &&
           bytes.substr(0, guid.size()) ==
               std::string_view(reinterpret_cast<const char*>(guid.data()), guid.size());
}

constexpr size_t ObjectHeader = 24;  // GUID and 64-bit size

std::string WideText(std::string_view bytes) {
    return Utf16ToUtf8(bytes, false);
}

// Reads `length` bytes at `at` if they are there.
bool Take(std::string_view data, size_t& at, size_t length, std::string_view& out) {
    if (at > data.size() || data.size() - at < length) return false;
    out = data.substr(at, length);
    at += length;
    return true;
}

}  // namespace

void TWMAfile::Clear() {
    *this = TWMAfile();
}

bool TWMAfile::Load(const std::string& path) {
    return LoadFromFile(*this, path);
}

bool TWMAfile::Load(const TByteSource& source) {
    Clear();
    const std::string start = source.ReadAt(0, 30);
    if (start.size() < 30 || !Is(start, HeaderObject)) return true;
    const uint64_t headerSize = ReadLE(start, 16, 8);
    const uint64_t objectCount = ReadLE(start, 24, 4);
    const std::string header = source.ReadAt(
        0,
        static_cast<size_t>(std::min<uint64_t>(headerSize, static_cast<uint64_t>(source.Size()))));

    Stream stream;
    Texts texts;
    size_t at = 30;
    for (uint64_t i = 0;
         i < objectCount && at <= header.size() && header.size() - at >= ObjectHeader; ++i) {
        const uint64_t size = ReadLE(header, at + 16, 8);
        if (size < ObjectHeader || size > header.size() - at) break;
        std::string_view object = std::string_view(header).substr(at, static_cast<size_t>(size));
        ReadObject(object, stream, texts);
        at += static_cast<size_t>(size);
    }

    FileSize = source.Size();
    // WMA Pro and lossless streams run far above 320 kbit/s and 40,000 bytes
    // a second: high rates are normal, so only their presence is checked.
    const bool plausible =
        stream.maxBitRate > 0 && (stream.channels == 1 || stream.channels == 2) &&
        stream.sampleRate >= 8000 && stream.sampleRate <= 96000 && stream.bytesPerSecond > 0;
    if (!plausible) return true;
    Valid = true;
    Channels = static_cast<uint8_t>(stream.channels);
    SampleRate = static_cast<int32_t>(stream.sampleRate);
    Duration = static_cast<double>(FileSize) * 8.0 / stream.maxBitRate;
    BitRate = static_cast<int32_t>(uint64_t{stream.bytesPerSecond} * 8 / 1000);
    Title = TrimLow(texts.title);
    Artist = TrimLow(texts.artist);
    Album = TrimLow(texts.album);
    Year = TrimLow(texts.year);
    Genre = TrimLow(texts.genre);
    Comment = TrimLow(texts.comment);
    int number = 0;
    // Many writers store only WM/TrackNumber (often as a number): it counts
    // where WM/TRACK is absent.
    const std::string& track = texts.track.empty() ? texts.trackNumber : texts.track;
    Track = TryStrToInt(TrimLow(track), number) ? number : 0;
    return true;
}

void TWMAfile::ReadObject(std::string_view object, Stream& stream, Texts& texts) {
    if (Is(object, FileProperties) && object.size() >= 104) {
        stream.maxBitRate = static_cast<uint32_t>(ReadLE(object, 100, 4));
    } else if (Is(object, StreamProperties) && object.size() >= 90 && !stream.haveAudio &&
               Is(object.substr(ObjectHeader), AudioMedia)) {
        stream.haveAudio = true;  // the first audio stream; others may be video or data
        stream.channels = static_cast<uint32_t>(ReadLE(object, 80, 2));
        stream.sampleRate = static_cast<uint32_t>(ReadLE(object, 82, 4));
        stream.bytesPerSecond = static_cast<uint32_t>(ReadLE(object, 86, 4));
    } else if (Is(object, ContentDescription)) {
        ReadContentDescription(object, texts);
    } else if (Is(object, ExtendedDescription)) {
        ReadExtendedDescription(object, texts);
    }
}

void TWMAfile::ReadContentDescription(std::string_view object, Texts& texts) {
    if (object.size() < ObjectHeader + 10) return;
    size_t at = ObjectHeader + 10;
    std::string* targets[5] = {&texts.title, &texts.artist, nullptr, &texts.comment, nullptr};
    for (size_t i = 0; i < 5; ++i) {
        const auto length = static_cast<size_t>(ReadLE(object, ObjectHeader + 2 * i, 2));
        std::string_view bytes;
        if (!Take(object, at, length, bytes)) return;
        if (length != 0 && targets[i]) *targets[i] = WideText(bytes);
    }
}

void TWMAfile::ReadExtendedDescription(std::string_view object, Texts& texts) {
    if (object.size() < ObjectHeader + 2) return;
    const uint64_t count = ReadLE(object, ObjectHeader, 2);
    const struct {
        std::string_view name;
        std::string* value;
    } names[] = {{"WM/TITLE", &texts.title},        {"WM/AUTHOR", &texts.artist},
                 {"WM/ALBUMTITLE", &texts.album},   {"WM/TRACK", &texts.track},
                 {"WM/YEAR", &texts.year},          {"WM/GENRE", &texts.genre},
                 {"WM/DESCRIPTION", &texts.comment}};
    size_t at = ObjectHeader + 2;
    for (uint64_t i = 0; i < count; ++i) {
        std::string_view sizeBytes, name, typeBytes, valueSize, value;
        if (!Take(object, at, 2, sizeBytes) || !Take(object, at, ReadLE(sizeBytes, 0, 2), name) ||
            !Take(object, at, 2, typeBytes) || !Take(object, at, 2, valueSize) ||
            !Take(object, at, ReadLE(valueSize, 0, 2), value))
            return;
        const std::string key = UpperAscii(TrimLow(WideText(name)));
        const uint64_t type = ReadLE(typeBytes, 0, 2);
        if (key == "WM/TRACKNUMBER" && (type == 0 || (type == 3 && value.size() == 4))) {
            texts.trackNumber = type == 0 ? WideText(value) : std::to_string(ReadLE(value, 0, 4));
            continue;
        }
        if (type != 0) continue;  // only texts are used
        for (const auto& n : names)
            if (key == n.name) *n.value = WideText(value);
    }
}
