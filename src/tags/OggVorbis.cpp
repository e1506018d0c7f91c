#include "tags/OggVorbis.h"

#include <algorithm>
#include <cmath>
#include <system_error>

#include "core/FileSystem.h"
#include "core/Ucommon.h"
#include "tags/ID3v2.h"
#include "tags/OggPages.h"
#include "tags/TagBytes.h"
#include "tags/TagFile.h"
#include "tags/TagText.h"

namespace {

constexpr std::string_view IdentificationSignature("\x01vorbis", 7);
constexpr std::string_view CommentSignature("\x03vorbis", 7);
constexpr size_t IdentificationSize = 30;

// The next length-prefixed item; false when the packet ends before it does.
bool NextItem(std::string_view packet, size_t& at, std::string& item) {
    if (packet.size() - at < 4) return false;
    const uint64_t length = ReadLE(packet, at, 4);
    if (packet.size() - at - 4 < length) return false;
    item = std::string(packet.substr(at + 4, static_cast<size_t>(length)));
    at += 4 + static_cast<size_t>(length);
    return true;
}

void AppendItem(std::string& out, std::string_view item) {
    AppendLE(out, item.size(), 4);
    out += item;
}

std::string_view NameOf(std::string_view entry) {
    return entry.substr(0, entry.find('='));
}

std::string ValueOf(std::string_view entry) {
    size_t equals = entry.find('=');
    return equals == std::string_view::npos ? std::string()
                                            : TagBytesToUtf8(TrimLow(entry.substr(equals + 1)));
}

int32_t LeadingNumber(std::string_view text) {
    int number = 0;
    return TryStrToInt(TrimLow(text.substr(0, text.find('/'))), number) && number > 0 ? number : 0;
}

}  // namespace

bool ParseVorbisComments(std::string_view packet, TVorbisComments& comments) {
    comments = TVorbisComments();
    if (!packet.starts_with(CommentSignature)) return false;
    size_t at = CommentSignature.size();
    if (!NextItem(packet, at, comments.Vendor) || packet.size() - at < 4) return true;
    const uint64_t count = ReadLE(packet, at, 4);
    at += 4;
    std::string entry;
    for (uint64_t i = 0; i < count && NextItem(packet, at, entry); ++i)
        comments.Entries.push_back(std::move(entry));
    comments.Tail = std::string(packet.substr(at));
    return true;
}

std::string BuildVorbisCommentPacket(const TVorbisComments& comments) {
    std::string packet(CommentSignature);
    AppendItem(packet, comments.Vendor);
    AppendLE(packet, comments.Entries.size(), 4);
    for (const std::string& entry : comments.Entries) AppendItem(packet, entry);
    packet += comments.Tail;
    return packet;
}

void SetVorbisComment(TVorbisComments& comments, std::string_view name, std::string_view value) {
    auto& entries = comments.Entries;
    auto named = [&](const std::string& entry) {
        return entry.find('=') != std::string::npos && SameTextAscii(NameOf(entry), name);
    };
    const auto place = std::find_if(entries.begin(), entries.end(), named) - entries.begin();
    std::erase_if(entries, named);
    if (!value.empty())
        entries.insert(entries.begin() + place, UpperAscii(name) + "=" + std::string(value));
}

void TOggVorbis::Clear() {
    *this = TOggVorbis();
}

bool TOggVorbis::Load(const std::string& path) {
    return LoadFromFile(*this, path);
}

bool TOggVorbis::Load(const TByteSource& source) {
    Clear();
    FileSize = source.Size();
    ID3v2Size = Id3v2TotalSize(source);
    TOggPackets headers;
    if (!ReadOggPackets(source, ID3v2Size, 2, headers) || headers.Packets.empty()) return false;
    const std::string& identification = headers.Packets[0];
    if (!identification.starts_with(IdentificationSignature) ||
        identification.size() < IdentificationSize)
        return false;
    ReadIdentification(identification);
    if (headers.Packets.size() > 1) ReadComments(headers.Packets[1]);
    Samples = std::max<int64_t>(0, LastGranulePosition(source, ID3v2Size, headers.Pages[0].Serial));
    return true;
}

void TOggVorbis::ReadIdentification(std::string_view packet) {
    Channels = static_cast<uint8_t>(packet[11]);
    SampleRate = static_cast<uint32_t>(ReadLE(packet, 12, 4));
    const auto nominal = static_cast<int32_t>(ReadLE(packet, 20, 4));
    NominalBitRate = nominal > 0 ? static_cast<uint32_t>(std::lround(nominal / 1000.0)) : 0;
}

void TOggVorbis::ReadComments(std::string_view packet) {
    if (!ParseVorbisComments(packet, comments_)) return;
    Vendor = std::string(TrimLow(comments_.Vendor));
    std::string performer, description, trackNumber;
    struct Field {
        std::string_view name;
        std::string* value;
    } fields[] = {{"TITLE", &Title},
                  {"ARTIST", &Artist},
                  {"ALBUM", &Album},
                  {"TRACKNUMBER", &trackNumber},
                  {"DATE", &Date},
                  {"GENRE", &Genre},
                  {"COMMENT", &Comment},
                  {"PERFORMER", &performer},
                  {"DESCRIPTION", &description}};
    for (const std::string& entry : comments_.Entries) {
        if (entry.find('=') == std::string::npos) continue;
        for (const Field& field : fields)
            if (SameTextAscii(NameOf(entry), field.name)) *field.value = ValueOf(entry);
    }
    if (Artist.empty()) Artist = performer;
    if (Comment.empty()) Comment = description;
    Track = LeadingNumber(trackNumber);
}

double TOggVorbis::Duration() const {
    if (Samples > 0) return SampleRate == 0 ? 0.0 : static_cast<double>(Samples) / SampleRate;
    if (NominalBitRate != 0 && Channels != 0)
        return static_cast<double>(FileSize - ID3v2Size) / NominalBitRate / Channels / 125.0 * 2.0;
    return 0.0;
}

int32_t TOggVorbis::BitRate() const {
    const double duration = Duration();
    if (duration <= 0) return 0;
    return static_cast<int32_t>(
        std::lround(static_cast<double>(FileSize - ID3v2Size) / duration / 125.0));
}

bool TOggVorbis::Valid() const {
    return (Channels == 1 || Channels == 2) && SampleRate != 0 && Duration() > 0.1 &&
           BitRate() != 0;
}

namespace {

// The header pages of a file as Store needs them: the identification packet
// alone on the first page, the comment and setup packets on the pages after
// it, which end with the setup packet.
bool ReadHeaderPackets(const TByteSource& source, int64_t start, TOggPackets& headers) {
    if (!ReadOggPackets(source, start, 3, headers) || headers.Packets.size() < 3 ||
        !headers.EndsWithPacket || headers.Pages.size() < 2)
        return false;
    // Pages of another stream between them would be lost with the rewrite.
    for (size_t i = 1; i < headers.Pages.size(); ++i) {
        const TOggPage& before = headers.Pages[i - 1];
        if (headers.Pages[i].Offset != before.Offset + static_cast<int64_t>(before.TotalSize()))
            return false;
    }
    const TOggPage& first = headers.Pages[0];
    return headers.Packets[0].starts_with(IdentificationSignature) &&
           headers.Packets[1].starts_with(CommentSignature) &&
           first.BodySize == headers.Packets[0].size() && !first.Lacing.empty() &&
           static_cast<unsigned char>(first.Lacing.back()) < 255;
}

}  // namespace

bool TOggVorbis::Store(const std::string& path) const {
    return static_cast<bool>(Write(path));
}

TWriteResult TOggVorbis::Write(const std::string& path) const {
    std::string data;
    try {
        data = ReadWholeFile(path);
    } catch (const std::system_error& e) {
        return TWriteResult::Failure("cannot read", path, e.code().value());
    }
    TMemorySource source(data);
    TOggVorbis current;
    TOggPackets headers;
    if (!current.Load(source) || !ReadHeaderPackets(source, current.ID3v2Size, headers))
        return TWriteResult::Failure("not an Ogg Vorbis file whose comments can be written:", path,
                                     0);

    TVorbisComments comments = current.comments_;
    const struct {
        std::string_view name;
        const std::string TOggVorbis::*field;
    } written[] = {{"TITLE", &TOggVorbis::Title},
                   {"ARTIST", &TOggVorbis::Artist},
                   {"ALBUM", &TOggVorbis::Album},
                   {"DATE", &TOggVorbis::Date},
                   {"GENRE", &TOggVorbis::Genre}};
    // Unchanged values keep their comments byte for byte; an empty value
    // leaves no empty comment ("DATE=") behind.
    for (const auto& w : written) {
        const std::string_view value = TrimLow(this->*w.field);
        if (value != current.*w.field || value.empty()) SetVorbisComment(comments, w.name, value);
    }

    const TOggPage& second = headers.Pages[1];
    size_t pageCount = 0;
    const std::string pages = MakeOggPages({BuildVorbisCommentPacket(comments), headers.Packets[2]},
                                           second.Serial, second.Sequence, pageCount);
    std::string rest = data.substr(static_cast<size_t>(headers.End));
    const int64_t delta =
        static_cast<int64_t>(pageCount) - static_cast<int64_t>(headers.Pages.size() - 1);
    if (delta != 0) RenumberOggPages(rest, second.Serial, delta);
    return ReplaceFileSafely(path,
                             data.substr(0, static_cast<size_t>(second.Offset)) + pages + rest);
}
