#include "tags/Mp4.h"

#include <cmath>
#include <functional>
#include <optional>
#include <system_error>

#include "core/FileSystem.h"
#include "tags/ID3v1.h"
#include "tags/TagBytes.h"
#include "tags/TagFile.h"
#include "tags/TagText.h"

namespace {

// The movie atom is read whole; one larger than this is damaged or not ours.
constexpr int64_t kLargestMovie = 256LL * 1024 * 1024;
constexpr uint32_t kUtf8 = 1;

struct TAtom {
    std::string type;
    size_t offset = 0;  // of the header, in the bytes it was found in
    size_t header = 8;  // 8, or 16 with a 64-bit size
    size_t size = 0;    // header included

    size_t Body() const { return offset + header; }
    size_t End() const { return offset + size; }
};

uint64_t ReadBE64(std::string_view b, size_t at) {
    return (uint64_t{ReadBE(b, at, 4)} << 32) | ReadBE(b, at + 4, 4);
}

// The atoms between `begin` and `end`; stops at the first that does not fit.
std::vector<TAtom> ChildAtoms(std::string_view bytes, size_t begin, size_t end) {
    std::vector<TAtom> atoms;
    for (size_t at = begin; at < end && end - at >= 8;) {
        TAtom atom;
        atom.offset = at;
        atom.type = std::string(bytes.substr(at + 4, 4));
        uint64_t size = ReadBE(bytes, at, 4);
        if (size == 1) {
            if (end - at < 16) break;
            size = ReadBE64(bytes, at + 8);
            atom.header = 16;
        } else if (size == 0) {
            size = end - at;  // to the end of its container
        }
        if (size < atom.header || size > end - at) break;
        atom.size = static_cast<size_t>(size);
        atoms.push_back(atom);
        at += atom.size;
    }
    return atoms;
}

std::optional<TAtom> Child(std::string_view bytes, const TAtom& parent, std::string_view type,
                           size_t skip = 0) {
    if (parent.Body() + skip > parent.End()) return std::nullopt;
    for (const TAtom& atom : ChildAtoms(bytes, parent.Body() + skip, parent.End()))
        if (atom.type == type) return atom;
    return std::nullopt;
}

// A meta atom is a full box (four bytes of version and flags before its
// children) in files of this kind, but not in every QuickTime file.
size_t MetaSkip(std::string_view bytes, const TAtom& meta) {
    return meta.size >= meta.header + 4 && ReadBE(bytes, meta.Body(), 4) == 0 ? 4 : 0;
}

// The length of an MPEG-4 descriptor; `at` moves past it.
size_t DescriptorLength(std::string_view b, size_t& at, size_t end) {
    size_t length = 0;
    for (int i = 0; i < 4 && at < end; ++i) {
        const uint32_t byte = ByteAt(b, at++);
        length = (length << 7) | (byte & 0x7F);
        if ((byte & 0x80) == 0) break;
    }
    return length;
}

// The average bit rate of an esds atom's decoder configuration.
uint32_t EsdsBitRate(std::string_view b, const TAtom& esds) {
    size_t at = esds.Body() + 4;
    const size_t end = esds.End();
    if (at >= end || ByteAt(b, at++) != 0x03) return 0;
    DescriptorLength(b, at, end);
    if (end - at < 3) return 0;
    const uint32_t flags = ByteAt(b, at + 2);
    at += 3;
    if (flags & 0x80) at += 2;
    if ((flags & 0x40) && at < end) at += 1 + ByteAt(b, at);
    if (flags & 0x20) at += 2;
    if (at >= end || ByteAt(b, at++) != 0x04) return 0;
    DescriptorLength(b, at, end);
    if (at + 13 > end) return 0;
    const uint32_t average = ReadBE(b, at + 9, 4);
    return average > 0 ? average : ReadBE(b, at + 5, 4);
}

void ReadSampleDescription(std::string_view b, const TAtom& stsd, TMp4File& file) {
    // Version and flags, entry count, then sample entries whose own atoms
    // follow 28 bytes of audio values.
    for (const TAtom& entry : ChildAtoms(b, stsd.Body() + 8, stsd.End())) {
        if (entry.size < entry.header + 28) continue;
        for (const TAtom& inner : ChildAtoms(b, entry.Body() + 28, entry.End())) {
            if (inner.type == "esds") file.AverageBitRate = EsdsBitRate(b, inner);
            if (inner.type == "alac" && inner.size >= inner.header + 28)
                file.AverageBitRate = ReadBE(b, inner.Body() + 20, 4);
        }
    }
}

// Duration and time scale of an mvhd or mdhd atom.
bool ReadTimes(std::string_view b, const TAtom& atom, uint64_t& duration, uint32_t& scale) {
    const size_t at = atom.Body();
    if (atom.size < atom.header + 24) return false;
    if (ByteAt(b, at) == 1) {
        if (atom.size < atom.header + 36) return false;
        scale = ReadBE(b, at + 20, 4);
        duration = ReadBE64(b, at + 24);
    } else {
        scale = ReadBE(b, at + 12, 4);
        duration = ReadBE(b, at + 16, 4);
    }
    return scale > 0;
}

void ReadTrack(std::string_view b, const TAtom& trak, TMp4File& file) {
    const auto mdia = Child(b, trak, "mdia");
    if (!mdia) return;
    const auto hdlr = Child(b, *mdia, "hdlr");
    if (!hdlr || hdlr->size < hdlr->header + 12 || b.substr(hdlr->Body() + 8, 4) != "soun") return;
    if (const auto mdhd = Child(b, *mdia, "mdhd")) ReadTimes(b, *mdhd, file.Duration, file.TimeScale);
    const auto minf = Child(b, *mdia, "minf");
    const auto stbl = minf ? Child(b, *minf, "stbl") : std::nullopt;
    const auto stsd = stbl ? Child(b, *stbl, "stsd") : std::nullopt;
    if (stsd) ReadSampleDescription(b, *stsd, file);
}

// The data atoms of an item: their type and payload.
std::vector<std::pair<uint32_t, std::string_view>> ItemData(std::string_view b, const TAtom& item) {
    std::vector<std::pair<uint32_t, std::string_view>> values;
    for (const TAtom& data : ChildAtoms(b, item.Body(), item.End()))
        if (data.type == "data" && data.size >= data.header + 8)
            values.emplace_back(ReadBE(b, data.Body(), 4) & 0xFFFFFF,
                                b.substr(data.Body() + 8, data.size - data.header - 8));
    return values;
}

// A text item: the last of its values, as the comment readers take the
// last of several comments of one name.
std::string ItemText(std::string_view b, const TAtom& item) {
    std::string text;
    for (const auto& [type, payload] : ItemData(b, item))
        if (type == kUtf8) text = TagBytesToUtf8(TrimLow(payload));
    return text;
}

void ReadItems(std::string_view b, const TAtom& ilst, TMp4File& file) {
    file.HasTags = true;
    std::string numberedGenre;
    const struct {
        std::string_view type;
        std::string* value;
    } texts[] = {{"\xA9nam", &file.Title}, {"\xA9" "ART", &file.Artist},
                 {"aART", &file.AlbumArtist}, {"\xA9" "alb", &file.Album},
                 {"\xA9" "day", &file.Date}, {"\xA9gen", &file.Genre},
                 {"\xA9" "cmt", &file.Comment}};
    for (const TAtom& item : ChildAtoms(b, ilst.Body(), ilst.End())) {
        for (const auto& text : texts)
            if (item.type == text.type) *text.value = ItemText(b, item);
        if (item.type == "trkn")
            for (const auto& [type, payload] : ItemData(b, item))
                if (payload.size() >= 6) {
                    file.Track = static_cast<int32_t>(ReadBE(payload, 2, 2));
                    file.TrackTotal = static_cast<int32_t>(ReadBE(payload, 4, 2));
                }
        if (item.type == "gnre")
            for (const auto& [type, payload] : ItemData(b, item))
                if (payload.size() >= 2) {
                    const uint32_t number = ReadBE(payload, 0, 2);
                    if (number >= 1 && number <= GenreCount) numberedGenre = GenreName(number - 1);
                }
        if (item.type == "covr")
            for (const auto& [type, payload] : ItemData(b, item))
                file.Covers.push_back({static_cast<int32_t>(type), std::string(payload)});
    }
    if (file.Genre.empty()) file.Genre = numberedGenre;
}

void ReadMovie(std::string_view b, const TAtom& moov, TMp4File& file) {
    uint64_t duration = 0;
    uint32_t scale = 0;
    for (const TAtom& atom : ChildAtoms(b, moov.Body(), moov.End())) {
        if (atom.type == "mvhd") ReadTimes(b, atom, duration, scale);
        if (atom.type == "trak" && file.TimeScale == 0) ReadTrack(b, atom, file);
        if (atom.type == "udta")
            if (const auto meta = Child(b, atom, "meta"))
                if (const auto ilst = Child(b, *meta, "ilst", MetaSkip(b, *meta)))
                    ReadItems(b, *ilst, file);
    }
    if (file.TimeScale == 0 || file.Duration == 0) {
        file.Duration = duration;
        file.TimeScale = scale;
    }
}

}  // namespace

bool TMp4File::Load(const TByteSource& source) {
    *this = TMp4File();
    FileSize = source.Size();
    bool found = false;
    for (int64_t at = 0; FileSize - at >= 8;) {
        const std::string header = source.ReadAt(at, 16);
        if (header.size() < 8) break;
        uint64_t size = ReadBE(header, 0, 4);
        size_t headerSize = 8;
        if (size == 1) {
            if (header.size() < 16) break;
            size = ReadBE64(header, 8);
            headerSize = 16;
        } else if (size == 0) {
            size = static_cast<uint64_t>(FileSize - at);
        }
        if (size < headerSize || size > static_cast<uint64_t>(FileSize - at)) break;
        const std::string_view type = std::string_view(header).substr(4, 4);
        if (type == "mdat") MediaBytes += static_cast<int64_t>(size - headerSize);
        if (type == "moov" && !found && static_cast<int64_t>(size) <= kLargestMovie) {
            const std::string movie = source.ReadAt(at, static_cast<size_t>(size));
            if (movie.size() != size) break;
            ReadMovie(movie, TAtom{"moov", 0, headerSize, movie.size()}, *this);
            found = true;
        }
        at += static_cast<int64_t>(size);
    }
    return found;
}

int32_t TMp4File::DurationMs() const {
    if (TimeScale == 0) return 0;
    const uint64_t ms = Duration * 1000 / TimeScale;
    return ms > INT32_MAX ? 0 : static_cast<int32_t>(ms);
}

int32_t TMp4File::BitRate() const {
    if (AverageBitRate > 0) return static_cast<int32_t>(std::lround(AverageBitRate / 1000.0));
    const int32_t ms = DurationMs();
    if (ms <= 0 || MediaBytes <= 0) return 0;
    return static_cast<int32_t>(std::lround(static_cast<double>(MediaBytes) * 8.0 / ms));
}

namespace {

std::string MakeAtom(std::string_view type, std::string_view body) {
    std::string atom;
    AppendBE(atom, static_cast<uint32_t>(8 + body.size()), 4);
    atom += type;
    atom += body;
    return atom;
}

std::string TextItem(std::string_view type, std::string_view text) {
    std::string data;
    AppendBE(data, kUtf8, 4);
    AppendBE(data, 0, 4);  // locale
    data += text;
    return MakeAtom(type, MakeAtom("data", data));
}

std::string YearText(int32_t year) {
    return year > 0 ? std::to_string(year) : std::string();
}

// A full date keeps its month and day when only its year is written again.
bool SameYear(std::string_view date, std::string_view year) {
    return year.size() == 4 && date.size() > 4 && date.starts_with(year) &&
           (date[4] < '0' || date[4] > '9');
}

// The new item list: items whose values do not change stay byte for byte.
std::string NewItemList(std::string_view b, const std::optional<TAtom>& ilst,
                        const TMp4File& current, const TTagValues& values) {
    const std::string year = YearText(values.Year);
    const bool yearKept = year == current.Date || SameYear(current.Date, year);
    const struct {
        std::string_view type;
        std::string_view value;
        bool changed;
    } fields[] = {
        {"\xA9nam", values.Title, values.Title != current.Title},
        {"\xA9" "ART", values.Artist, values.Artist != current.Artist},
        {"\xA9" "alb", values.Album, values.Album != current.Album},
        {"\xA9" "day", year, !yearKept},
        {"\xA9gen", values.Genre, values.Genre != current.Genre},
    };
    auto replaced = [&](std::string_view type) {
        for (const auto& field : fields)
            if (field.changed && (type == field.type || (field.type == "\xA9gen" && type == "gnre")))
                return true;
        return false;
    };
    std::string body;
    if (ilst)
        for (const TAtom& item : ChildAtoms(b, ilst->Body(), ilst->End()))
            if (!replaced(item.type)) body += b.substr(item.offset, item.size);
    for (const auto& field : fields)
        if (field.changed && !field.value.empty()) body += TextItem(field.type, field.value);
    return MakeAtom("ilst", body);
}

std::string MetaHandler() {
    std::string body(8, '\0');  // version, flags, pre-defined
    body += "mdirappl";
    body += std::string(9, '\0');  // reserved, empty name
    return MakeAtom("hdlr", body);
}

// Grows the size field of the atom at `offset` by `delta`; false when the
// size no longer fits its field.
bool GrowAtom(std::string& bytes, size_t offset, int64_t delta) {
    const uint32_t small = ReadBE(bytes, offset, 4);
    if (small == 0) return true;  // runs to the end of the file
    if (small == 1) {
        const uint64_t size = ReadBE64(bytes, offset + 8) + static_cast<uint64_t>(delta);
        for (int i = 0; i < 8; ++i)
            bytes[offset + 8 + i] = static_cast<char>((size >> (56 - 8 * i)) & 0xFF);
        return true;
    }
    const int64_t size = int64_t{small} + delta;
    if (size < 8 || size > UINT32_MAX) return false;
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<char>((static_cast<uint64_t>(size) >> (24 - 8 * i)) & 0xFF);
    return true;
}

// Moves every chunk offset of the movie that points at or behind `from`.
bool MoveChunkOffsets(std::string& bytes, const TAtom& moov, size_t from, int64_t delta) {
    bool fits = true;
    std::function<void(const TAtom&)> visit = [&](const TAtom& parent) {
        for (const TAtom& atom : ChildAtoms(bytes, parent.Body(), parent.End())) {
            if (atom.type == "trak" || atom.type == "mdia" || atom.type == "minf" ||
                atom.type == "stbl") {
                visit(atom);
                continue;
            }
            const bool wide = atom.type == "co64";
            if (atom.type != "stco" && !wide) continue;
            if (atom.size < atom.header + 8) continue;
            const uint64_t count = ReadBE(bytes, atom.Body() + 4, 4);
            const size_t width = wide ? 8 : 4;
            const size_t first = atom.Body() + 8;
            const uint64_t room = (atom.End() - first) / width;
            for (uint64_t i = 0; i < std::min(count, room); ++i) {
                const size_t at = first + static_cast<size_t>(i) * width;
                uint64_t offset = wide ? ReadBE64(bytes, at) : ReadBE(bytes, at, 4);
                if (offset < from) continue;
                offset += static_cast<uint64_t>(delta);
                if (!wide && offset > UINT32_MAX) fits = false;
                for (size_t k = 0; k < width; ++k)
                    bytes[at + k] = static_cast<char>((offset >> (8 * (width - 1 - k))) & 0xFF);
            }
        }
    };
    visit(moov);
    return fits;
}

}  // namespace

bool RewriteMp4Tags(std::string_view data, const TTagValues& values, std::string& out,
                    std::string& problem) {
    std::optional<TAtom> moov;
    for (const TAtom& atom : ChildAtoms(data, 0, data.size()))
        if (atom.type == "moov") moov = atom;
    TMp4File current;
    TMemorySource source(data);
    if (!moov || !current.Load(source)) {
        problem = "not an MP4 file whose atoms can be read:";
        return false;
    }
    // The chain of atoms down to the item list, as far as it exists.
    const auto udta = Child(data, *moov, "udta");
    const auto meta = udta ? Child(data, *udta, "meta") : std::nullopt;
    const auto ilst = meta ? Child(data, *meta, "ilst", MetaSkip(data, *meta)) : std::nullopt;
    std::string inserted = NewItemList(data, ilst, current, values);
    size_t at = 0, removed = 0;
    std::vector<size_t> holders{moov->offset};  // the atoms that grow
    if (ilst) {
        holders.push_back(udta->offset);
        holders.push_back(meta->offset);
        at = ilst->offset;
        removed = ilst->size;
        // The room of a free atom right after the list is taken first.
        const auto siblings = ChildAtoms(data, meta->Body() + MetaSkip(data, *meta), meta->End());
        for (size_t i = 0; i + 1 < siblings.size(); ++i)
            if (siblings[i].offset == ilst->offset && siblings[i + 1].type == "free") {
                const size_t room = ilst->size + siblings[i + 1].size;
                if (inserted.size() == room || inserted.size() + 8 <= room) {
                    removed = room;
                }
            }
        // A shorter list leaves free room behind it, so nothing else moves.
        if (inserted.size() + 8 <= removed)
            inserted += MakeAtom("free", std::string(removed - inserted.size() - 8, '\0'));
    } else if (meta) {
        holders.push_back(udta->offset);
        holders.push_back(meta->offset);
        at = meta->End();
    } else if (udta) {
        holders.push_back(udta->offset);
        at = udta->End();
        inserted = MakeAtom("meta", std::string(4, '\0') + MetaHandler() + inserted);
    } else {
        at = moov->End();
        inserted = MakeAtom("udta", MakeAtom("meta", std::string(4, '\0') + MetaHandler() + inserted));
    }
    const int64_t delta = static_cast<int64_t>(inserted.size()) - static_cast<int64_t>(removed);
    out.assign(data.substr(0, at));
    out += inserted;
    out += data.substr(at + removed);
    if (delta == 0) return true;
    for (size_t holder : holders)
        if (!GrowAtom(out, holder, delta)) {
            problem = "the new tags do not fit the MP4 atoms of";
            return false;
        }
    TAtom grown = *moov;
    grown.size = static_cast<size_t>(static_cast<int64_t>(moov->size) + delta);
    if (!MoveChunkOffsets(out, grown, at + removed, delta)) {
        problem = "the chunk offsets no longer fit the MP4 atoms of";
        return false;
    }
    return true;
}

TWriteResult WriteMp4Tags(const std::string& path, const TTagValues& values) {
    return RewriteWholeFile(path, [&](std::string_view data, std::string& out, std::string& problem) {
        return RewriteMp4Tags(data, values, out, problem);
    });
}
