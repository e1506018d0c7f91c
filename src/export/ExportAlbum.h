#pragma once
// The values of one exported album as the template engine sees them: the
// album record.  Inside the program the record is structured; its external
// text form (the fields joined by the byte 0xA7) exists for files and tools
// that exchange records, and is read back without ever splitting a UTF-8
// character, even one whose last byte is 0xA7 ("ç" is C3 A7).
#include <string>
#include <string_view>
#include <vector>

class Tm3u;

struct TExportTrack {
    std::string title;
    std::string trackPath;
};

struct TExportAlbum {
    std::string artist;
    std::string album;
    std::string genre;
    std::string year;
    std::string playlistPath;
    std::string coverPath;
    std::vector<TExportTrack> tracks;
};

// An empty text field is sent as one blank.
inline constexpr std::string_view kBlankField = " ";
inline constexpr char kRecordSeparator = '\xA7';

// The record of an album: empty texts as " ", the year in decimal or " "
// below 1, the picture path only when the album has its picture.
TExportAlbum MakeExportAlbum(const Tm3u& album);

// The external text form: artist, album, genre, year, playlist path, cover
// path, then title and path of each track, separated by 0xA7.
std::string AlbumRecordText(const TExportAlbum& album);
// Reads the external form back.  A 0xA7 byte inside a valid UTF-8 sequence
// belongs to its character; only a lone one separates.  Missing fields are
// blank; a track without its path gets a blank path.
TExportAlbum ParseAlbumRecord(std::string_view record);
