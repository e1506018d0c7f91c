#pragma once
// ID3v2 frames: how one frame is stored, how its text is decoded, and how a
// text frame is written.  Frames that are not understood stay raw bytes.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// One frame as it appears in the tag: id, the two flag bytes (major versions
// 3 and 4; 0 in version 2) and the data after the frame header.
struct TID3v2Frame {
    std::string Id;
    uint16_t Flags = 0;
    std::string Data;
};

// Frame flag bits of major version 4 (second flag byte) this code looks at.
inline constexpr uint16_t FrameV4Unsynchronised = 0x0002;

// Undoes unsynchronisation: every 0xFF 0x00 pair loses its zero.
std::string Deunsynchronise(std::string_view bytes);

// The frame's content with the extra header bytes of its flags removed and
// its own unsynchronisation undone; nothing for compressed or encrypted frames.
std::optional<std::string> FramePayload(const TID3v2Frame& frame, int version);

// A text frame's value (encoding byte first).  Version 4 may hold several
// values; they are joined with "/".  Unknown encodings give nothing.
std::optional<std::string> DecodeTextFrame(std::string_view payload, int version);
// A comment frame's text (encoding, language, description, text).
std::optional<std::string> DecodeCommentFrame(std::string_view payload, bool* hasDescription);
// A user link frame's address (encoding, description, Latin-1 address).
std::optional<std::string> DecodeLinkFrame(std::string_view payload);

// The data of a text frame holding `text`: Latin-1 (encoding 0) when every
// character fits, else UTF-16 with a byte-order mark (encoding 1).
std::string EncodeTextFrameData(std::string_view text);

// Appends the frame with the header of the given major version; false when
// its size does not fit that header.
bool AppendFrame(std::string& out, const TID3v2Frame& frame, int version);
size_t FrameHeaderSize(int version);

// The genre of a TCON text: leading references such as "(17)" or "(RX)" are
// dropped, and a text that is only references, or only a number (version 4
// style), gives the name of the last one.  "((" starts a literal "(".
std::string ResolveGenreText(std::string_view text);
