#pragma once
// Small helpers shared across the program: text clean-up for file names, the
// word matching of the search, URL encoding, folder counting, a plain HTTP
// GET, and the user and host names.  None of them shows a message: failures
// become result values.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Paths of playlist entries may use "\" (written on Windows); the model uses "/".
std::string NormalizeSeparators(std::string_view path);
std::string BlanksToUnderscores(std::string_view text);
// Doubles every "&" so that a caption shows it literally; each piece between
// ampersands, and the tail, is cut to 255 characters.
std::string DupAmpersands(std::string_view text);
std::string StripAmpersands(std::string_view text);
// Each of < > | " \ / ? : becomes "_"; nothing else changes.
std::string SafeFileName(std::string_view text);
// Removes the ASCII control bytes 0-31 and DEL.  The text is UTF-8, so the
// bytes 0x80-0x9F belong to multi-byte characters and are kept.
std::string StripControlChars(std::string_view text);
// Lower-cases A-Z only.
std::string LowerAscii(std::string_view text);
std::string UpperAscii(std::string_view text);
bool SameTextAscii(std::string_view a, std::string_view b);  // equal ignoring A-Z case

// The search's word matching: the whole search text must occur in the value,
// or with wordsOnly every word (a-z, 0-9, apostrophe) of it must occur
// somewhere, in any order.  Letters A-Z fold; an empty search matches nothing.
bool TextMatches(std::string_view search, std::string_view value, bool wordsOnly);
// Position of text in the list (A-Z folded), or -1.  An empty text finds the
// first empty entry.
int IndexOfText(const std::vector<std::string>& list, std::string_view text);

// Decimal integer of the whole text (leading blanks allowed); 0 when it cannot be read.
int StrToIntOrZero(std::string_view text);
// Like StrToIntOrZero but with a caller's fallback, for settings.
int StrToIntDef(std::string_view text, int fallback);
// True when the text is a decimal number as StrToIntOrZero reads it.
bool TryStrToInt(std::string_view text, int& value);
std::string IntToStrSafe(int64_t value);

// "+" for a blank, letters and digits copied, every other byte as %XX.
std::string UrlEncode(std::string_view text);

// The logged-in user's name, "anonymous" when unknown.
std::string GetLoginName();
// The machine's host name, "nohost" when unknown.
std::string GetHostNameOrDefault();

struct HttpResult {
    long status = 0;  // the HTTP status; 0 when the transfer itself failed
    std::string body;
    std::string error;  // what went wrong when status is not 200
};
// One GET with a read time-out, cookies, up to 15 redirects and
// authentication retries.  Never throws.
HttpResult HttpGetText(const std::string& url, long timeoutMs);

// 1 for the folder itself plus every folder below it (hidden ones skipped).
int CountFolders(const std::string& folder);
// Files (not folders) in the folder whose extension is `extension` (no dot).
int CountFiles(const std::string& folder, std::string_view extension);
// Playlists (m3u, pls, b4s) directly in the folder; a trailing "/" is ignored.
int CountPlaylists(const std::string& folder);
// Size in bytes; throws std::system_error when the file cannot be examined.
int64_t GetFileSizeBytes(const std::string& path);

// The help page for a help topic index 1-14 ("list.htm" ...), "" for others.
std::string HelpTopicPage(int topic);
