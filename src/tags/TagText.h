#pragma once
// Text conversions between the model's UTF-8 and the encodings that tags
// store: UTF-16 in either byte order (ID3v2, WMA), Latin-1 and Windows-1252
// (ID3v1, ID3v2 encoding 0).
#include <cstddef>
#include <string>
#include <string_view>

// UTF-16 bytes in the given byte order to UTF-8; a byte-order mark at the
// start overrides the order.  The text ends at the first zero unit; an odd
// last byte is ignored and broken surrogates become U+FFFD.
std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian);
// UTF-16 little-endian bytes without a byte-order mark or terminator.
std::string Utf8ToUtf16LE(std::string_view text);

// The Latin-1 bytes of the text; false when a character is above U+00FF.
bool Utf8ToLatin1(std::string_view text, std::string& bytes);
// The Windows-1252 bytes of the text (its five undefined bytes stand for
// U+0081, U+008D, U+008F, U+0090 and U+009D); false when a character has none.
bool Utf8ToWindows1252(std::string_view text, std::string& bytes);
// The Windows-1252 bytes of the text, one per character: a character that
// has none becomes "?".
std::string Utf8ToWindows1252Lossy(std::string_view text);

// 8-bit tag text of unknown encoding to UTF-8: valid UTF-8 stays; anything
// else is read as Windows-1252.  With mayBeCut (a full fixed-width field), a
// multi-byte sequence cut off at the very end of otherwise UTF-8 text is dropped.
std::string TagBytesToUtf8(std::string_view bytes, bool mayBeCut = false);

// The first maxChars characters of UTF-8 text.
std::string Utf8Left(std::string_view text, size_t maxChars);
// Removes leading and trailing bytes of value 32 or less (blanks, zeros and
// control characters); bytes inside the text stay.
std::string_view TrimLow(std::string_view text);
std::string_view TrimLowRight(std::string_view text);
