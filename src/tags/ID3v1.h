#pragma once
// The 128-byte ID3v1 tag at the end of an MP3 file, and the genre table that
// maps its genre numbers to names.
//
// Texts are UTF-8 in memory.  In the file a text field holds Windows-1252
// bytes (which include all of Latin-1), one per character; a character
// Windows-1252 lacks is written as "?".  Reading takes valid UTF-8 as UTF-8
// (other programs write it) and anything else as Windows-1252.  A field is
// cut to its width in characters, so a cut never splits one.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class TByteSource;

inline constexpr int GenreCount = 148;
extern const std::array<std::string_view, GenreCount> GenreNames;
// The names in genre-number order: a name's position is its number.
const std::vector<std::string>& GenreList();
// The genre number of a name (A-Z compared without case), if listed.
std::optional<uint8_t> GenreIndexOf(std::string_view name);
// The name of a genre number, or "" for 148 and above.
std::string_view GenreName(int index);

class TID3v1 {
  public:
    bool Present = false;
    uint8_t Version = 1;  // 1 = version 1.0, 2 = version 1.1 (with a track byte)
    std::string Title;
    std::string Artist;
    std::string Album;
    std::string Year;
    std::string Comment;
    uint8_t Track = 0;         // 0 = none
    uint8_t GenreIndex = 255;  // 255 = none

    void Clear();
    // False when the last 128 bytes cannot be read (also for a shorter file);
    // true otherwise, with Present telling whether they were a tag.
    bool Load(const std::string& path);
    bool Load(const TByteSource& source);
    // Fills the fields from a 128-byte block that begins with "TAG".
    void ReadBlock(std::string_view block);
    // The 128 bytes that Store writes.
    std::string BuildBlock() const;

    void SetTitle(std::string_view text);
    void SetArtist(std::string_view text);
    void SetAlbum(std::string_view text);
    void SetYear(std::string_view text);
    void SetGenreIndex(uint8_t index) { GenreIndex = index; }

    // The file's bytes with this tag in place of its old one (or appended).
    std::string ApplyTo(std::string_view file) const;
    // The file's bytes without a tag at the end.
    static std::string StripFrom(std::string_view file);
    static bool HasTag(std::string_view file);

    // Writes the fields as the file's tag (the file rewritten safely): over
    // an existing tag, or appended.  False for a file shorter than a tag.
    bool Store(const std::string& path) const;
    // Removes the tag; true also when the file has none.
    bool Strip(const std::string& path) const;
};
