#include "tags/VorbisFields.h"

#include "core/Ucommon.h"
#include "tags/TagText.h"

namespace {

constexpr std::string_view kCommentSignature("\x03vorbis", 7);

std::string_view NameOf(std::string_view entry) {
    return entry.substr(0, entry.find('='));
}

std::string ValueOf(std::string_view entry) {
    const size_t equals = entry.find('=');
    return equals == std::string_view::npos ? std::string()
                                            : TagBytesToUtf8(TrimLow(entry.substr(equals + 1)));
}

int32_t LeadingNumber(std::string_view text) {
    int number = 0;
    return TryStrToInt(TrimLow(text.substr(0, text.find('/'))), number) && number > 0 ? number : 0;
}

std::string YearText(int32_t year) {
    return year > 0 ? std::to_string(year) : std::string();
}

// A full date keeps its month and day when only its year is written again.
bool SameYear(std::string_view date, std::string_view year) {
    return year.size() == 4 && date.size() > 4 && date.starts_with(year) &&
           (date[4] < '0' || date[4] > '9');
}

}  // namespace

TVorbisFields VorbisFieldsOf(const TVorbisComments& comments) {
    TVorbisFields fields;
    std::string performer, description, trackNumber;
    const struct {
        std::string_view name;
        std::string* value;
    } named[] = {{"TITLE", &fields.Title},     {"ARTIST", &fields.Artist},
                 {"ALBUM", &fields.Album},     {"TRACKNUMBER", &trackNumber},
                 {"DATE", &fields.Date},       {"GENRE", &fields.Genre},
                 {"COMMENT", &fields.Comment}, {"PERFORMER", &performer},
                 {"DESCRIPTION", &description}};
    for (const std::string& entry : comments.Entries) {
        if (entry.find('=') == std::string::npos) continue;
        for (const auto& field : named)
            if (SameTextAscii(NameOf(entry), field.name)) *field.value = ValueOf(entry);
    }
    if (fields.Artist.empty()) fields.Artist = performer;
    if (fields.Comment.empty()) fields.Comment = description;
    fields.Track = LeadingNumber(trackNumber);
    return fields;
}

void ApplyTagValues(TVorbisComments& comments, const TTagValues& values) {
    const TVorbisFields current = VorbisFieldsOf(comments);
    const struct {
        std::string_view name;
        std::string value;
        const std::string& now;
    } written[] = {{"TITLE", values.Title, current.Title},
                   {"ARTIST", values.Artist, current.Artist},
                   {"ALBUM", values.Album, current.Album},
                   {"DATE", YearText(values.Year), current.Date},
                   {"GENRE", values.Genre, current.Genre}};
    for (const auto& w : written) {
        const std::string_view value = TrimLow(w.value);
        if (w.name == "DATE" && SameYear(current.Date, value)) continue;  // "2004-05-01" stays
        if (value != w.now || value.empty()) SetVorbisComment(comments, w.name, value);
    }
}

// The list has the layout of a Vorbis comment packet after its signature.
bool ParseCommentList(std::string_view body, TVorbisComments& comments) {
    std::string packet(kCommentSignature);
    packet += body;
    return ParseVorbisComments(packet, comments);
}

std::string BuildCommentList(const TVorbisComments& comments) {
    return BuildVorbisCommentPacket(comments).substr(kCommentSignature.size());
}
