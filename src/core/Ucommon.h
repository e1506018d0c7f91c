#pragma once
// Small helpers shared across the program: text clean-up for file names, the
// word matching of the search, URL encoding, folder counting, a plain HTTP
// GET, and the user and host names.  None of them shows a message: failures
// become result values.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

// Paths of playlist entries may use "\" (written on Windows); the model uses "/".
std::string NormalizeSeparators(std::string_view path);
std::string BlanksToUnderscores(std::string_view text);
// Doubles every "&" so that a caption shows it literally.  After each "&"
// only the next 255 bytes of the text are kept (cut at a character
// boundary), so a long piece also drops the ampersands beyond it; the text
// before the first "&" is kept whole.
std::string DupAmpersands(std::string_view text);
std::string StripAmpersands(std::string_view text);
// A file name made from values: each of < > | " \ / ? :, each control byte
// (a newline would split a playlist entry) and a leading "." (the file
// would be hidden, and scans skip hidden names) becomes "_"; an empty name
// becomes "_".  Nothing else changes.
std::string SafeFileName(std::string_view text);
// Removes the ASCII control bytes 0-31 and DEL, and the characters U+0081,
// U+008D, U+008F, U+0090 and U+009D (the bytes Windows-1252 leaves
// undefined, as they arrive from old 8-bit tags).  Every other UTF-8
// character is kept whole.
std::string StripControlChars(std::string_view text);
// The lines of a text; a line ends at CR LF, LF or CR.  A line end at the
// very end does not start another (empty) line.
std::vector<std::string_view> SplitLines(std::string_view text);
// Lower-cases A-Z only.
std::string LowerAscii(std::string_view text);
std::string UpperAscii(std::string_view text);
bool SameTextAscii(std::string_view a, std::string_view b);  // equal ignoring A-Z case

// The search's word matching: the whole search text must occur in the value,
// or with wordsOnly every word (a-z, 0-9, apostrophe) of it must occur
// somewhere, in any order.  Letters A-Z fold; an empty search matches nothing.
bool TextMatches(std::string_view search, std::string_view value, bool wordsOnly);
// Position of text in the list (A-Z folded), if there.  An empty text finds
// the first empty entry.
std::optional<size_t> IndexOfText(const std::vector<std::string>& list, std::string_view text);

// Decimal integer of the whole text (leading blanks allowed); 0 when it cannot be read.
int StrToIntOrZero(std::string_view text);
// Like StrToIntOrZero but with a caller's fallback, for settings.
int StrToIntDef(std::string_view text, int fallback);
// True when the text is a decimal number as StrToIntOrZero reads it.
bool TryStrToInt(std::string_view text, int& value);
std::string IntToStrSafe(int64_t value);

// "+" for a blank, letters and digits copied, every other byte as %XX.
std::string UrlEncode(std::string_view text);

// The logged-in user's name (at most 255 bytes), "anonymous" when unknown.
std::string GetLoginName();
// The machine's host name (at most 255 bytes), "nohost" when unknown.
std::string GetHostNameOrDefault();

struct HttpResult {
    long status = 0;  // the HTTP status; 0 when the transfer itself failed
    std::string body;
    std::string error;  // what went wrong when status is not 200
};
// One GET of an http or https URL.  The transfer ends when no data arrived for
// timeoutMs (also while connecting).  Cookies set by the server are sent back
// within the transfer, up to 15 redirects are followed, and user and password
// given in the URL answer the server's authentication challenge (any
// method).  A transfer that fails, also half way through the body, gives
// status 0 and an error text.  Never throws.
// `limits` bound the whole transfer: a server that sends a byte now and then
// never trips the time-out above, and one that sends without end would fill
// the memory; either ends the transfer with an error that says which limit.
struct HttpLimits {
    long totalMs = 0;     // the whole transfer, redirects included; 0: no limit
    size_t maxBytes = 0;  // the body; 0: no limit
};
HttpResult HttpGetWithin(const std::string& url, long timeoutMs, const HttpLimits& limits);
// HttpGetWithin without limits of its own.
HttpResult HttpGetText(const std::string& url, long timeoutMs);

// 1 for the folder itself plus every folder below it, counted as the scanner
// walks: hidden folders (names starting with ".") are skipped and links to
// folders are not followed.  0 when the folder does not exist.  Lets pending
// events run (PumpEvents) while it walks.
int CountFolders(const std::string& folder);
// Files (not folders, hidden ones included) directly in the folder whose
// extension is `extension` (no dot, compared without regard to A-Z case).
int CountFiles(const std::string& folder, std::string_view extension);
// Playlists (m3u, pls, b4s) directly in the folder; a trailing "/" is ignored.
int CountPlaylists(const std::string& folder);
// Size in bytes; throws std::system_error when the file cannot be examined.
int64_t GetFileSizeBytes(const std::string& path);

// The help page for a help topic index 1-14 ("list.htm" ...), "" for others.
std::string HelpTopicPage(int topic);

// The enumerator numbered `value` when it lies from `first` to `last`, else
// `fallback`: how numbers read from files and settings become typed values.
template <typename Enum>
Enum EnumInRange(int32_t value, Enum first, Enum last, Enum fallback) {
    using Number = std::underlying_type_t<Enum>;
    if (value < static_cast<Number>(first) || value > static_cast<Number>(last)) return fallback;
    return static_cast<Enum>(value);
}
