#pragma once
// Cover pictures kept inside audio files: the ID3v2 picture frame (APIC, or
// PIC in version 2.2), the METADATA_BLOCK_PICTURE comment of Ogg Vorbis and
// Opus, the PICTURE blocks of FLAC and the covr item of MP4.
// Only JPEG pictures are taken; the front cover wins over other pictures.
#include <string>
#include <string_view>

class TID3v2;
struct TVorbisComments;

// The JPEG bytes of the file's embedded cover, "" when it has none.
std::string EmbeddedPicture(const std::string& audioPath);
std::string Id3v2Picture(const TID3v2& tag);
std::string VorbisPicture(const TVorbisComments& comments);

// Decodes base64 text (line breaks and blanks skipped); "" when it is not base64.
std::string Base64Decode(std::string_view text);
