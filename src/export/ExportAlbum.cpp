#include "export/ExportAlbum.h"

#include "collection/Um3u_obj.h"
#include "core/Utf8.h"

namespace {
std::string FieldOrBlank(const std::string& text) {
    return text.empty() ? std::string(kBlankField) : text;
}

std::vector<std::string> SplitRecord(std::string_view record) {
    std::vector<std::string> fields(1);
    size_t i = 0;
    while (i < record.size()) {
        const size_t length = Utf8SequenceLength(record, i);
        if (length == 0 && record[i] == kRecordSeparator) {
            fields.emplace_back();
            ++i;
            continue;
        }
        const size_t take = length == 0 ? 1 : length;
        fields.back().append(record.substr(i, take));
        i += take;
    }
    return fields;
}
}  // namespace

TExportAlbum MakeExportAlbum(const Tm3u& album) {
    TExportAlbum record;
    record.artist = FieldOrBlank(album.Artist);
    record.album = FieldOrBlank(album.Album);
    record.genre = FieldOrBlank(album.Genre);
    record.year = album.Year < 1 ? std::string(kBlankField) : std::to_string(album.Year);
    record.playlistPath = FieldOrBlank(album.PlaylistPath);
    record.coverPath = album.PictureState == TPictureState::Present
                           ? PicturePathFor(album.PlaylistPath)
                           : std::string(kBlankField);
    record.tracks.reserve(album.Tracks.Count());
    for (const auto& entry : album.Tracks)
        record.tracks.push_back(
            {FieldOrBlank(entry.object->Title), FieldOrBlank(entry.object->Path)});
    return record;
}

std::string AlbumRecordText(const TExportAlbum& album) {
    std::string text;
    auto add = [&](const std::string& field, bool first = false) {
        if (!first) text += kRecordSeparator;
        text += field.empty() ? std::string(kBlankField) : field;
    };
    add(album.artist, true);
    add(album.album);
    add(album.genre);
    add(album.year);
    add(album.playlistPath);
    add(album.coverPath);
    for (const auto& track : album.tracks) {
        add(track.title);
        add(track.trackPath);
    }
    return text;
}

TExportAlbum ParseAlbumRecord(std::string_view record) {
    std::vector<std::string> fields = SplitRecord(record);
    auto field = [&](size_t i) {
        return i < fields.size() && !fields[i].empty() ? fields[i] : std::string(kBlankField);
    };
    TExportAlbum album{field(0), field(1), field(2), field(3), field(4), field(5), {}};
    for (size_t i = 6; i < fields.size(); i += 2) album.tracks.push_back({field(i), field(i + 1)});
    return album;
}
