#include "tags/TagWriter.h"

#include <system_error>

#include "core/FileSystem.h"
#include "core/Ucommon.h"
#include "tags/ID3v1.h"
#include "tags/ID3v2.h"
#include "tags/OggVorbis.h"
#include "tags/TagFile.h"

namespace {

// The year as tag text; an unknown year leaves the field empty rather than
// writing "0" into the file.
std::string YearText(int32_t year) {
    return year > 0 ? std::to_string(year) : std::string();
}

bool ReadForWriting(const std::string& path, std::string& data, TWriteResult& failure) {
    try {
        data = ReadWholeFile(path);
        return true;
    } catch (const std::system_error& e) {
        failure = TWriteResult::Failure("cannot read", path, e.code().value());
        return false;
    }
}

// The value to write, or the ID3v1 tag's where that is all there is: the
// ID3v1 tag is about to go, and its value must not go with it.
std::string Carried(const std::string& value, const std::string& inV2, const std::string& inV1) {
    return value.empty() && inV2.empty() ? inV1 : value;
}

TID3v2 NewId3v2(const TID3v2& loaded, const TID3v1& v1, const TTagValues& values, bool carry) {
    TID3v2 tag = loaded;
    tag.SetTitle(values.Title);
    tag.SetArtist(values.Artist);
    tag.SetGenre(values.Genre);
    tag.SetAlbum(carry ? Carried(values.Album, loaded.Album, v1.Album) : values.Album);
    tag.SetYear(carry ? Carried(YearText(values.Year), loaded.Year, v1.Year)
                      : YearText(values.Year));
    if (carry && loaded.TrackText.empty() && v1.Track > 0) tag.TrackText = std::to_string(v1.Track);
    if (carry && loaded.Comment.empty()) tag.Comment = v1.Comment;
    return tag;
}

TID3v1 NewId3v1(const TID3v1& loaded, const TTagValues& values) {
    TID3v1 tag = loaded;
    tag.SetYear(YearText(values.Year));
    tag.SetAlbum(values.Album);
    tag.SetArtist(values.Artist);
    tag.SetTitle(values.Title);
    // A name that is not in the list leaves the number the tag had.
    if (const auto genre = GenreIndexOf(values.Genre)) tag.SetGenreIndex(*genre);
    return tag;
}

}  // namespace

TId3Choice Id3ChoiceFromInt(int32_t value) {
    return EnumInRange(value, TId3Choice::V2, TId3Choice::Both, TId3Choice::V2);
}

TWriteResult WriteMp3Tags(const std::string& path, TId3Choice choice, const TTagValues& values) {
    std::string data;
    TWriteResult failure;
    if (!ReadForWriting(path, data, failure)) return failure;
    TMemorySource source(data);
    TID3v1 v1;
    v1.Load(source);  // false for a file shorter than a tag: then it has none
    TID3v2 v2;
    v2.Load(source);
    if (!v2.Understood())
        return TWriteResult::Failure("cannot understand the ID3v2 tag of", path, 0);

    std::string bytes = data;
    if (choice != TId3Choice::V1) {
        const TID3v2 tag = NewId3v2(v2, v1, values, choice == TId3Choice::V2);
        std::string changed;
        if (!tag.ApplyTo(bytes, changed))
            return TWriteResult::Failure("the new ID3v2 tag does not fit", path, 0);
        bytes = choice == TId3Choice::V2 ? TID3v1::StripFrom(changed) : std::move(changed);
    }
    if (choice != TId3Choice::V2) {
        if (choice == TId3Choice::V1) {
            std::string kept;
            if (!TID3v2::WithoutFieldFrames(bytes, kept))
                return TWriteResult::Failure("cannot update the ID3v2 tag of", path, 0);
            bytes = std::move(kept);
        }
        bytes = NewId3v1(v1, values).ApplyTo(bytes);
    }
    return ReplaceFileSafely(path, bytes);
}

TWriteResult WriteOggTags(const std::string& path, const TTagValues& values) {
    TOggVorbis ogg;
    ogg.Load(path);
    ogg.Date = YearText(values.Year);
    ogg.Album = values.Album;
    ogg.Artist = values.Artist;
    ogg.Title = values.Title;
    ogg.Genre = values.Genre;
    return ogg.Write(path);
}
