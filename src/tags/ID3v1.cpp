#include "tags/ID3v1.h"

#include "core/Ucommon.h"
#include "core/Utf8.h"
#include "tags/TagFile.h"
#include "tags/TagText.h"

const std::array<std::string_view, GenreCount> GenreNames = {"Blues",
                                                             "Classic Rock",
                                                             "Country",
                                                             "Dance",
                                                             "Disco",
                                                             "Funk",
                                                             "Grunge",
                                                             "Hip-Hop",
                                                             "Jazz",
                                                             "Metal",
                                                             "New Age",
                                                             "Oldies",
                                                             "Other",
                                                             "Pop",
                                                             "R&B",
                                                             "Rap",
                                                             "Reggae",
                                                             "Rock",
                                                             "Techno",
                                                             "Industrial",
                                                             "Alternative",
                                                             "Ska",
                                                             "Death Metal",
                                                             "Pranks",
                                                             "Soundtrack",
                                                             "Euro-Techno",
                                                             "Ambient",
                                                             "Trip-Hop",
                                                             "Vocal",
                                                             "Jazz+Funk",
                                                             "Fusion",
                                                             "Trance",
                                                             "Classical",
                                                             "Instrumental",
                                                             "Acid",
                                                             "House",
                                                             "Game",
                                                             "Sound Clip",
                                                             "Gospel",
                                                             "Noise",
                                                             "Alternative Rock",
                                                             "Bass",
                                                             "Soul",
                                                             "Punk",
                                                             "Space",
                                                             "Meditative",
                                                             "Instrumental Pop",
                                                             "Instrumental Rock",
                                                             "Ethnic",
                                                             "Gothic",
                                                             "Darkwave",
                                                             "Techno-Industrial",
                                                             "Electronic",
                                                             "Pop-Folk",
                                                             "Eurodance",
                                                             "Dream",
                                                             "Southern Rock",
                                                             "Comedy",
                                                             "Cult",
                                                             "Gangsta",
                                                             "Top 40",
                                                             "Christian Rap",
                                                             "Pop/Funk",
                                                             "Jungle",
                                                             "Native US",
                                                             "Cabaret",
                                                             "New Wave",
                                                             "Psychadelic",
                                                             "Rave",
                                                             "Showtunes",
                                                             "Trailer",
                                                             "Lo-Fi",
                                                             "Tribal",
                                                             "Acid Punk",
                                                             "Acid Jazz",
                                                             "Polka",
                                                             "Retro",
                                                             "Musical",
                                                             "Rock & Roll",
                                                             "Hard Rock",
                                                             "Folk",
                                                             "Folk-Rock",
                                                             "National Folk",
                                                             "Swing",
                                                             "Fast Fusion",
                                                             "Bebob",
                                                             "Latin",
                                                             "Revival",
                                                             "Celtic",
                                                             "Bluegrass",
                                                             "Avantgarde",
                                                             "Gothic Rock",
                                                             "Progressive Rock",
                                                             "Psychedelic Rock",
                                                             "Symphonic Rock",
                                                             "Slow Rock",
                                                             "Big Band",
                                                             "Chorus",
                                                             "Easy Listening",
                                                             "Acoustic",
                                                             "Humour",
                                                             "Speech",
                                                             "Chanson",
                                                             "Opera",
                                                             "Chamber Music",
                                                             "Sonata",
                                                             "Symphony",
                                                             "Booty Bass",
                                                             "Primus",
                                                             "Porn Groove",
                                                             "Satire",
                                                             "Slow Jam",
                                                             "Club",
                                                             "Tango",
                                                             "Samba",
                                                             "Folklore",
                                                             "Ballad",
                                                             "Power Ballad",
                                                             "Rhytmic Soul",
                                                             "Freestyle",
                                                             "Duet",
                                                             "Punk Rock",
                                                             "Drum Solo",
                                                             "Acapella",
                                                             "Euro-House",
                                                             "Dance Hall",
                                                             "Goa",
                                                             "Drum & Bass",
                                                             "Club-House",
                                                             "Hardcore",
                                                             "Terror",
                                                             "Indie",
                                                             "BritPop",
                                                             "Negerpunk",
                                                             "Polsk Punk",
                                                             "Beat",
                                                             "Christian Gangsta",
                                                             "Heavy Metal",
                                                             "Black Metal",
                                                             "Crossover",
                                                             "Contemporary C",
                                                             "Christian Rock",
                                                             "Merengue",
                                                             "Salsa",
                                                             "Thrash Metal",
                                                             "Anime",
                                                             "JPop",
                                                             "SynthPop"};

const std::vector<std::string>& GenreList() {
    static const std::vector<std::string> list(GenreNames.begin(), GenreNames.end());
    return list;
}

int GenreIndexOf(std::string_view name) {
    return IndexOfText(GenreList(), name);
}

std::string_view GenreName(int index) {
    return index >= 0 && index < GenreCount ? GenreNames[static_cast<size_t>(index)] : "";
}

namespace {

constexpr size_t BlockSize = 128;

// The bytes a text field is stored as (see the header).
std::string FieldBytes(std::string_view text) {
    std::string bytes;
    if (Utf8ToWindows1252(text, bytes)) return bytes;
    return std::string(text);
}

// The text cut so that its stored form fits `width` bytes.
std::string FitField(std::string_view text, size_t width) {
    std::string bytes;
    if (Utf8ToWindows1252(text, bytes)) return Utf8Left(text, width);
    return std::string(Utf8Prefix(text, width));
}

std::string SetterText(std::string_view text, size_t width) {
    return FitField(TrimLowRight(text), width);
}

// A field read from the tag: it ends at a zero byte (what follows is a
// writer's leftover) and loses trailing blanks and control bytes.
std::string ReadField(std::string_view block, size_t at, size_t width) {
    std::string_view field = block.substr(at, width);
    field = TrimLowRight(field.substr(0, field.find('\0')));
    return TagBytesToUtf8(field, field.size() == width);
}

void PutField(std::string& block, size_t at, size_t width, std::string_view text) {
    std::string bytes = FieldBytes(FitField(text, width));
    block.replace(at, bytes.size(), bytes);
}

bool ReadTagBlock(const TByteSource& source, std::string& block) {
    if (source.Size() < static_cast<int64_t>(BlockSize)) return false;
    block = source.ReadAt(source.Size() - static_cast<int64_t>(BlockSize), BlockSize);
    return block.size() == BlockSize;
}

// The file's last 128 bytes and its size.
bool ReadFileTagBlock(const std::string& path, std::string& block, int64_t& size) {
    TFileSource file(path);
    size = file.Size();
    return file.IsOpen() && ReadTagBlock(file, block);
}

bool IsTagBlock(std::string_view block) {
    return block.substr(0, 3) == "TAG";
}

}  // namespace

void TID3v1::Clear() {
    *this = TID3v1();
}

bool TID3v1::Load(const std::string& path) {
    return LoadFromFile(*this, path);
}

bool TID3v1::Load(const TByteSource& source) {
    Clear();
    std::string block;
    if (!ReadTagBlock(source, block)) return false;
    if (IsTagBlock(block)) ReadBlock(block);
    return true;
}

void TID3v1::ReadBlock(std::string_view block) {
    Present = true;
    const auto byte125 = static_cast<unsigned char>(block[125]);
    const auto byte126 = static_cast<unsigned char>(block[126]);
    const bool hasTrack = (byte125 == 0 && byte126 != 0) || (byte125 == ' ' && byte126 != ' ');
    Version = hasTrack ? 2 : 1;
    Title = ReadField(block, 3, 30);
    Artist = ReadField(block, 33, 30);
    Album = ReadField(block, 63, 30);
    Year = ReadField(block, 93, 4);
    Comment = ReadField(block, 97, hasTrack ? 28 : 30);
    Track = hasTrack ? byte126 : 0;
    GenreIndex = static_cast<unsigned char>(block[127]);
}

std::string TID3v1::BuildBlock() const {
    std::string block(BlockSize, '\0');
    block.replace(0, 3, "TAG");
    PutField(block, 3, 30, Title);
    PutField(block, 33, 30, Artist);
    PutField(block, 63, 30, Album);
    PutField(block, 93, 4, Year);
    // A track number takes the last two comment bytes (version 1.1).
    PutField(block, 97, Track > 0 ? 28 : 30, Comment);
    if (Track > 0) block[126] = static_cast<char>(Track);
    block[127] = static_cast<char>(GenreIndex);
    return block;
}

void TID3v1::SetTitle(std::string_view text) {
    Title = SetterText(text, 30);
}
void TID3v1::SetArtist(std::string_view text) {
    Artist = SetterText(text, 30);
}
void TID3v1::SetAlbum(std::string_view text) {
    Album = SetterText(text, 30);
}
void TID3v1::SetYear(std::string_view text) {
    Year = SetterText(text, 4);
}

bool TID3v1::Store(const std::string& path) const {
    std::string old;
    int64_t size = 0;
    if (!ReadFileTagBlock(path, old, size)) return false;
    // An existing tag is overwritten where it is, so a failed write never
    // leaves the file without one.
    const int64_t at = IsTagBlock(old) ? size - static_cast<int64_t>(BlockSize) : size;
    return WriteFileAt(path, at, BuildBlock());
}

bool TID3v1::Strip(const std::string& path) const {
    std::string old;
    int64_t size = 0;
    if (!ReadFileTagBlock(path, old, size)) return false;
    if (!IsTagBlock(old)) return true;
    return TruncateFile(path, size - static_cast<int64_t>(BlockSize));
}
