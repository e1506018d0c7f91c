#include "tags/ID3v2.h"

#include <algorithm>
#include <array>

#include "core/Ucommon.h"
#include "tags/TagBytes.h"
#include "tags/TagFile.h"
#include "tags/TagText.h"

namespace {

constexpr size_t HeaderSize = 10;
constexpr int64_t RewritePadding = 4096;
constexpr uint8_t FlagUnsynchronised = 0x80;
constexpr uint8_t FlagExtendedHeader = 0x40;  // version 2: compression
constexpr uint8_t FlagFooter = 0x10;
constexpr int WrittenVersion = 3;

// The frames that feed the fields, by slot, for major versions 3-4 and 2.
enum Slot {
    NoSlot,
    TitleSlot,
    ArtistSlot,
    AlbumSlot,
    TrackSlot,
    YearSlot,
    GenreSlot,
    CommentSlot,
    ComposerSlot,
    EncoderSlot,
    RightsSlot,
    LanguageSlot,
    LinkSlot,
    YearOther,
    ArtistOther,
    TitleOther,
    AlbumOther,
    SlotCount
};
constexpr std::array<const char*, SlotCount> IdsV3 = {
    "",     "TIT2", "TPE1", "TALB", "TRCK", "TYER", "TCON", "COMM", "TCOM",
    "TENC", "TCOP", "TLAN", "WXXX", "TDRC", "TOPE", "TIT1", "TOAL"};
constexpr std::array<const char*, SlotCount> IdsV2 = {"",    "TT2", "TP1", "TAL", "TRK", "TYE",
                                                      "TCO", "COM", "TCM", "TEN", "TCR", "TLA",
                                                      "WXX", "TOR", "TOA", "TT1", "TOT"};

Slot SlotOf(std::string_view id, int version) {
    const auto& ids = version == 2 ? IdsV2 : IdsV3;
    for (int slot = TitleSlot; slot < SlotCount; ++slot)
        if (id == ids[static_cast<size_t>(slot)]) return static_cast<Slot>(slot);
    return NoSlot;
}

bool IsFrameIdChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool IsFrameId(std::string_view id) {
    return std::all_of(id.begin(), id.end(), IsFrameIdChar);
}

// The tag's size without header and footer (seven-bit form; the bytes are
// taken whole, as they always were, and valid tags keep their top bits clear).
int64_t BodySizeFromHeader(std::string_view header) {
    return (int64_t{ByteAt(header, 6)} << 21) + (ByteAt(header, 7) << 14) +
           (ByteAt(header, 8) << 7) + ByteAt(header, 9);
}

// Only version 4 has a footer, and only one that is really there counts: in
// versions 2 and 3 the flag means nothing, and counting it cut audio bytes.
bool HasFooter(std::string_view header, const TByteSource& source) {
    if (ByteAt(header, 3) != 4 || !(ByteAt(header, 5) & FlagFooter)) return false;
    const int64_t at = static_cast<int64_t>(HeaderSize) + BodySizeFromHeader(header);
    return source.ReadAt(at, 3) == "3DI";
}

int64_t TotalSizeFromHeader(std::string_view header, const TByteSource& source) {
    int64_t total = BodySizeFromHeader(header) + static_cast<int64_t>(HeaderSize);
    if (HasFooter(header, source)) total += static_cast<int64_t>(HeaderSize);
    return total > source.Size() ? 0 : total;
}

// True when a frame may start at `pos` of the frame area: padding, the end,
// or a frame id whose size (read either way) fits what is left.
bool FrameMayStartAt(std::string_view body, size_t pos) {
    if (pos >= body.size() || body[pos] == '\0') return pos <= body.size();
    if (pos + 10 > body.size() || !IsFrameId(body.substr(pos, 4))) return false;
    const size_t room = body.size() - pos - 10;
    return ReadSyncsafe(body, pos + 4) <= room || ReadBE(body, pos + 4, 4) <= room;
}

// Version 4 frame sizes are seven-bit numbers, but some writers store plain
// numbers; the form after which the next frame makes sense wins.
uint32_t Version4FrameSize(std::string_view body, size_t pos) {
    const uint32_t plain = ReadBE(body, pos + 4, 4);
    if (plain & 0x80808080u) return plain;
    const uint32_t syncsafe = ReadSyncsafe(body, pos + 4);
    if (syncsafe == plain || FrameMayStartAt(body, pos + 10 + syncsafe)) return syncsafe;
    return FrameMayStartAt(body, pos + 10 + plain) ? plain : syncsafe;
}

// The size of the extended header at the start of the body, or 0 when what is
// there is not one (some writers set the flag without writing it; their
// frames follow the header directly, and other readers find them there).
size_t ExtendedHeaderSize(std::string_view body, int version) {
    if (body.size() < 6) return 0;
    if (version == 3) {
        const uint32_t size = ReadBE(body, 0, 4);
        return (size == 6 || size == 10) && 4 + size <= body.size() ? 4 + size : 0;
    }
    const uint32_t size = ReadSyncsafe(body, 0);
    return size >= 6 && size <= body.size() && ByteAt(body, 4) == 1 ? size : 0;
}

const std::string& Either(const std::string& first, const std::string& second) {
    return first.empty() ? second : first;
}

}  // namespace

int64_t Id3v2TotalSize(const TByteSource& source) {
    std::string header = source.ReadAt(0, HeaderSize);
    if (header.size() < HeaderSize || header.compare(0, 3, "ID3") != 0) return 0;
    return TotalSizeFromHeader(header, source);
}

void TID3v2::Clear() {
    *this = TID3v2();
}

bool TID3v2::Load(const std::string& path) {
    return LoadFromFile(*this, path);
}

bool TID3v2::Load(const TByteSource& source) {
    Clear();
    // One read usually holds the whole tag.
    std::string tag = source.ReadAt(0, 4096);
    if (tag.size() < HeaderSize) return false;
    if (tag.compare(0, 3, "ID3") != 0) return true;
    Present = true;
    Version = static_cast<uint8_t>(tag[3]);
    Size = TotalSizeFromHeader(tag, source);
    if (Version < 2 || Version > 4 || Size == 0) return true;
    const bool footer = HasFooter(tag, source);
    if (static_cast<int64_t>(tag.size()) < Size) tag = source.ReadAt(0, static_cast<size_t>(Size));
    tag.resize(std::min(tag.size(), static_cast<size_t>(Size)));
    ParseTag(tag, static_cast<uint8_t>(tag[5]), footer);
    FillFields();
    return true;
}

void TID3v2::ParseTag(std::string_view tag, uint8_t flags, bool hasFooter) {
    const size_t footer = hasFooter ? HeaderSize : 0;
    std::string_view rawBody = tag.substr(HeaderSize);
    rawBody = rawBody.substr(0, rawBody.size() >= footer ? rawBody.size() - footer : 0);
    if (Version == 2 && (flags & FlagExtendedHeader)) return;  // compressed: unreadable
    // Versions 2 and 3 unsynchronise the whole tag; version 4 each frame.
    std::string deunsynchronised;
    if (Version < 4 && (flags & FlagUnsynchronised)) deunsynchronised = Deunsynchronise(rawBody);
    std::string_view body = deunsynchronised.empty() ? rawBody : deunsynchronised;

    size_t pos = 0;
    if (Version >= 3 && (flags & FlagExtendedHeader)) pos = ExtendedHeaderSize(body, Version);
    const size_t headerSize = FrameHeaderSize(Version);
    const size_t idSize = Version == 2 ? 3 : 4;
    while (pos + headerSize <= body.size()) {
        std::string_view id = body.substr(pos, idSize);
        if (!IsFrameId(id)) break;
        const uint32_t size = Version == 2   ? ReadBE(body, pos + 3, 3)
                              : Version == 3 ? ReadBE(body, pos + 4, 4)
                                             : Version4FrameSize(body, pos);
        if (size > body.size() - pos - headerSize) break;
        TID3v2Frame frame{std::string(id), 0, std::string(body.substr(pos + headerSize, size))};
        if (Version >= 3) frame.Flags = static_cast<uint16_t>(ReadBE(body, pos + 8, 2));
        // A version 4 tag flagged as unsynchronised has every frame so; the
        // frame says it itself once the tag flag is gone.
        if (Version == 4 && (flags & FlagUnsynchronised)) frame.Flags |= FrameV4Unsynchronised;
        frames_.push_back(std::move(frame));
        pos += headerSize + size;
    }
    std::string_view rest = body.substr(pos);
    if (rest.find_first_not_of('\0') != std::string_view::npos) tail_ = std::string(rest);
    understood_ = true;
}

void TID3v2::FillFields() {
    std::array<std::string, SlotCount> slots;
    bool plainComment = false;  // a comment without description wins over one with
    for (const TID3v2Frame& frame : frames_) {
        const Slot slot = SlotOf(frame.Id, Version);
        if (slot == NoSlot) continue;
        auto payload = FramePayload(frame, Version);
        if (!payload) continue;
        std::optional<std::string> text;
        if (slot == CommentSlot) {
            bool described = false;
            text = DecodeCommentFrame(*payload, &described);
            if (!text || (described && plainComment)) continue;
            plainComment = plainComment || !described;
        } else if (slot == LinkSlot) {
            text = DecodeLinkFrame(*payload);
        } else {
            text = DecodeTextFrame(*payload, Version);
        }
        if (text) slots[slot] = std::move(*text);
    }
    Title = Either(slots[TitleSlot], slots[TitleOther]);
    Artist = Either(slots[ArtistSlot], slots[ArtistOther]);
    Album = Either(slots[AlbumSlot], slots[AlbumOther]);
    TrackText = slots[TrackSlot];
    int number = 0;
    std::string_view trackNumber = std::string_view(TrackText).substr(0, TrackText.find('/'));
    Track = TryStrToInt(trackNumber, number) && number > 0 ? number : 0;
    Year = !slots[YearSlot].empty() ? slots[YearSlot] : Utf8Left(slots[YearOther], 4);
    Genre = ResolveGenreText(slots[GenreSlot]);
    Comment = slots[CommentSlot];
    Composer = slots[ComposerSlot];
    Encoder = slots[EncoderSlot];
    Rights = slots[RightsSlot];
    Language = slots[LanguageSlot];
    Link = slots[LinkSlot];
}

void TID3v2::SetTitle(std::string_view text) {
    Title = TrimLow(text);
}
void TID3v2::SetArtist(std::string_view text) {
    Artist = TrimLow(text);
}
void TID3v2::SetAlbum(std::string_view text) {
    Album = TrimLow(text);
}
void TID3v2::SetYear(std::string_view text) {
    Year = TrimLow(text);
}
void TID3v2::SetGenre(std::string_view text) {
    Genre = TrimLow(text);
}

namespace {

struct WrittenField {
    const std::string TID3v2::*field;
    std::vector<std::string> ids;  // the first is the id written
};

std::vector<WrittenField> WrittenFields(int version) {
    if (version == 2)
        return {{&TID3v2::Title, {"TT2"}}, {&TID3v2::Artist, {"TP1"}},
                {&TID3v2::Album, {"TAL"}}, {&TID3v2::Year, {"TYE"}},
                {&TID3v2::Genre, {"TCO"}}, {&TID3v2::TrackText, {"TRK"}}};
    // Version 4 has no TYER, and other readers show a TDRC left in a version 3
    // tag before its TYER: a new year replaces both.
    std::vector<std::string> yearIds = version == 4 ? std::vector<std::string>{"TDRC", "TYER"}
                                                    : std::vector<std::string>{"TYER", "TDRC"};
    return {{&TID3v2::Title, {"TIT2"}}, {&TID3v2::Artist, {"TPE1"}},
            {&TID3v2::Album, {"TALB"}}, {&TID3v2::Year, yearIds},
            {&TID3v2::Genre, {"TCON"}}, {&TID3v2::TrackText, {"TRCK"}}};
}

// Every frame the reader takes a title, artist, album, year, genre, track or
// comment from, fallbacks included: the frames that hide ID3v1's values.
const std::vector<std::string>& FieldFrameIds(int version) {
    static const std::vector<std::string> v2 = {"TT2", "TT1", "TP1", "TOA", "TAL", "TOT",
                                                "TYE", "TOR", "TCO", "TRK", "COM"};
    static const std::vector<std::string> v34 = {"TIT2", "TIT1", "TPE1", "TOPE", "TALB", "TOAL",
                                                 "TYER", "TDRC", "TCON", "TRCK", "COMM"};
    return version == 2 ? v2 : v34;
}

// Replaces the frames with any of the ids by `text` at the place of the first
// of them (at the end when there was none); an empty text removes them.
void ReplaceFrames(std::vector<TID3v2Frame>& frames, const std::vector<std::string>& ids,
                   const std::string& text) {
    auto matches = [&](const TID3v2Frame& f) {
        return std::find(ids.begin(), ids.end(), f.Id) != ids.end();
    };
    auto first = std::find_if(frames.begin(), frames.end(), matches);
    const auto place = first - frames.begin();
    std::erase_if(frames, matches);
    if (!text.empty())
        frames.insert(frames.begin() + place,
                      TID3v2Frame{ids.front(), 0, EncodeTextFrameData(text)});
}

// A comment frame in English without a description.
TID3v2Frame CommentFrame(const std::string& text, int version) {
    const std::string encoded = EncodeTextFrameData(text);
    const bool wide = encoded[0] == '\x01';
    std::string data = encoded.substr(0, 1) + "eng";
    data += wide ? std::string("\xFF\xFE\0\0", 4) : std::string(1, '\0');
    data += encoded.substr(1);
    return TID3v2Frame{version == 2 ? "COM" : "COMM", 0, data};
}

}  // namespace

bool TID3v2::BuildFrames(const TID3v2& current, std::string& out) const {
    const int version = current.Present ? current.Version : WrittenVersion;
    std::vector<TID3v2Frame> frames = current.frames_;
    // Unchanged values keep their frames byte for byte.
    for (const WrittenField& written : WrittenFields(version))
        if (this->*written.field != current.*written.field)
            ReplaceFrames(frames, written.ids, this->*written.field);
    // Only a comment for a tag that has none: its other comments stay.
    if (current.Comment.empty() && !Comment.empty())
        frames.push_back(CommentFrame(Comment, version));
    out.clear();
    for (const TID3v2Frame& frame : frames)
        if (!AppendFrame(out, frame, version)) return false;
    out += current.tail_;
    return true;
}

bool TID3v2::RenderTag(const TID3v2& current, const std::string& frames, std::string_view file,
                       std::string& out) {
    const int64_t needed = static_cast<int64_t>(HeaderSize + frames.size());
    const int64_t oldTotal = current.Present ? current.Size : 0;
    if (static_cast<int64_t>(file.size()) < oldTotal) return false;
    // A tag that fits its old space keeps it, so the audio stays where it was.
    const bool grows = !current.Present || oldTotal < needed || oldTotal > RewritePadding;
    const int64_t padding =
        grows ? std::max<int64_t>(0, RewritePadding - needed) : oldTotal - needed;
    const int64_t bodySize = needed + padding - static_cast<int64_t>(HeaderSize);
    if (bodySize >= (int64_t{1} << 28)) return false;

    out = "ID3";
    out += static_cast<char>(current.Present ? current.Version : WrittenVersion);
    out += '\0';  // revision
    out += '\0';  // flags: no unsynchronisation, extended header or footer
    AppendSyncsafe(out, static_cast<uint32_t>(bodySize));
    out += frames;
    out.append(static_cast<size_t>(padding), '\0');
    out += file.substr(static_cast<size_t>(oldTotal));
    return true;
}

bool TID3v2::ApplyTo(std::string_view file, std::string& out) const {
    TMemorySource source(file);
    TID3v2 current;
    if (!current.Load(source) || (current.Present && !current.understood_)) return false;
    std::string frames;
    return BuildFrames(current, frames) && RenderTag(current, frames, file, out);
}

bool TID3v2::WithoutFieldFrames(std::string_view file, std::string& out) {
    TMemorySource source(file);
    TID3v2 current;
    if (!current.Load(source)) return false;
    if (!current.Present) {
        out = std::string(file);
        return true;
    }
    if (!current.understood_) return false;
    const std::vector<std::string>& ids = FieldFrameIds(current.Version);
    std::vector<TID3v2Frame> kept = current.frames_;
    std::erase_if(kept, [&](const TID3v2Frame& f) {
        return std::find(ids.begin(), ids.end(), f.Id) != ids.end();
    });
    if (kept.empty() && current.tail_.empty()) {
        out = std::string(file.substr(static_cast<size_t>(current.Size)));
        return true;
    }
    std::string frames;
    for (const TID3v2Frame& frame : kept)
        if (!AppendFrame(frames, frame, current.Version)) return false;
    frames += current.tail_;
    return RenderTag(current, frames, file, out);
}

bool TID3v2::StripFrom(std::string_view file, std::string& out) {
    const int64_t total = Id3v2TotalSize(TMemorySource(file));
    if (total == 0) return false;
    out = std::string(file.substr(static_cast<size_t>(total)));
    return true;
}

bool TID3v2::Store(const std::string& path) const {
    std::string data, changed;
    return ReadFileBytes(path, data) && ApplyTo(data, changed) &&
           static_cast<bool>(ReplaceFileSafely(path, changed));
}

bool TID3v2::Strip(const std::string& path) const {
    std::string data, stripped;
    return ReadFileBytes(path, data) && StripFrom(data, stripped) &&
           static_cast<bool>(ReplaceFileSafely(path, stripped));
}
