#pragma once
// The matching key of artist names and album titles in covers databases: only
// 0-9 and a-z.  Accented Latin letters become their base letter, everything
// else (blanks, punctuation, other letters and symbols) is dropped, so "The
// Beatles", "the beatles" and "THE-BEATLES" are one artist, and "Björk"
// keys as "bjork".  Text is read as UTF-8 (Windows-1252 when it is not valid
// UTF-8), one character at a time.
#include <string>
#include <string_view>

std::string CoverKey(std::string_view name);
