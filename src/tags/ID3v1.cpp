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

std::optional<uint8_t> GenreIndexOf(std::string_view name) {
    const std::optional<size_t> index = IndexOfText(GenreList(), name);
    if (!index) return std::nullopt;
    return static_cast<uint8_t>(*index);  // the list holds fewer than 256 names
}

std::string_view GenreName(int index) {
    return index >= 0 && index < GenreCount ? GenreNames[static_cast<size_t>(index)] : "";
}

namespace {

constexpr size_t BlockSize = 128;

// The bytes a text field is stored as: Windows-1252, one byte a character.
std::string FieldBytes(std::string_view text, size_t width) {
    return Utf8ToWindows1252Lossy(Utf8Left(text, width));
}

// The text as the field will hold it (cut to `width` characters, "?" for a
// character Windows-1252 lacks), so that memory and file agree.
std::string FitField(std::string_view text, size_t width) {
    return Windows1252ToUtf8(FieldBytes(text, width));
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
    const std::string bytes = FieldBytes(text, width);
    block.replace(at, bytes.size(), bytes);
}

bool ReadTagBlock(const TByteSource& source, std::string& block) {
    if (source.Size() < static_cast<int64_t>(BlockSize)) return false;
    block = source.ReadAt(source.Size() - static_cast<int64_t>(BlockSize), BlockSize);
    return block.size() == BlockSize;
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

bool TID3v1::HasTag(std::string_view file) {
    return file.size() >= BlockSize && IsTagBlock(file.substr(file.size() - BlockSize));
}

std::string TID3v1::StripFrom(std::string_view file) {
    return std::string(HasTag(file) ? file.substr(0, file.size() - BlockSize) : file);
}

std::string TID3v1::ApplyTo(std::string_view file) const {
    return StripFrom(file) + BuildBlock();
}

namespace {

// Reads the file, changes its bytes and writes them back safely.
template <typename Change>
bool RewriteFile(const std::string& path, Change change) {
    std::string data;
    if (!ReadFileBytes(path, data) || data.size() < BlockSize) return false;
    return static_cast<bool>(ReplaceFileSafely(path, change(data)));
}

}  // namespace

bool TID3v1::Store(const std::string& path) const {
    return RewriteFile(path, [this](const std::string& data) { return ApplyTo(data); });
}

bool TID3v1::Strip(const std::string& path) const {
    std::string data;
    if (!ReadFileBytes(path, data) || data.size() < BlockSize) return false;
    if (!HasTag(data)) return true;
    return static_cast<bool>(ReplaceFileSafely(path, StripFrom(data)));
}
