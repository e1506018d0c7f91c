#pragma once
// UTF-8 helpers for texts the model reads from files it does not control.
#include <cstddef>
#include <string>
#include <string_view>

// Length of the well-formed UTF-8 sequence starting at text[i] (no overlong
// forms, no surrogates, nothing beyond U+10FFFF); 0 when the byte starts none.
size_t Utf8SequenceLength(std::string_view text, size_t i);
// The character starting at `pos`; `pos` moves past it.  A byte that starts
// no well-formed sequence counts as one U+FFFD.
char32_t NextUtf8Char(std::string_view text, size_t& pos);
// True when the bytes are well-formed UTF-8 (no overlong forms, no surrogates).
bool IsValidUtf8(std::string_view text);
// Reads the bytes as Windows-1252 text (Latin-1 with the 0x80-0x9F
// punctuation) and gives its UTF-8 form; the five undefined bytes become
// U+0081, U+008D, U+008F, U+0090 and U+009D.
std::string Windows1252ToUtf8(std::string_view text);
// The text itself when it is valid UTF-8, else its Windows-1252 reading.
std::string ToUtf8(std::string_view text);
// The longest prefix of at most maxBytes bytes that does not split a UTF-8
// sequence.
std::string_view Utf8Prefix(std::string_view text, size_t maxBytes);
// Appends the UTF-8 bytes of one character.
void AppendUtf8(std::string& out, char32_t code);
