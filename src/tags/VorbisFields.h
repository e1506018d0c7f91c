#pragma once
// The track values of a Vorbis comment list, shared by every format that
// carries one (Ogg Vorbis, FLAC, Opus, Ogg FLAC): which comments give which
// value when reading, and which comments a tag write replaces.
#include <cstdint>
#include <string>
#include <string_view>

#include "tags/OggVorbis.h"
#include "tags/TagWriter.h"

struct TVorbisFields {
    std::string Title;
    std::string Artist;  // ARTIST, or PERFORMER when that is empty
    std::string Album;
    std::string Date;
    std::string Genre;
    std::string Comment;  // COMMENT, or DESCRIPTION when that is empty
    int32_t Track = 0;    // the number at the start of TRACKNUMBER
};

// The values, decoded and trimmed; a later comment of a name replaces an
// earlier one.
TVorbisFields VorbisFieldsOf(const TVorbisComments& comments);
// Replaces the TITLE, ARTIST, ALBUM, DATE and GENRE comments whose values
// change; unchanged values keep their comments byte for byte, an empty value
// leaves no empty comment behind, and every other comment stays.
void ApplyTagValues(TVorbisComments& comments, const TTagValues& values);

// A comment list without a packet signature (a FLAC block, the body of an
// OpusTags packet): false when it cannot be read at all.
bool ParseCommentList(std::string_view body, TVorbisComments& comments);
std::string BuildCommentList(const TVorbisComments& comments);
