#pragma once
// The two CDDB commands sent to a FreeDB server over HTTP: the requests are
// built here, and the answers parsed from their text, so that tests feed
// canned server replies.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

struct TDiscTable;

constexpr const char* kCddbProgramName = "Mavelo";
constexpr const char* kCddbProgramVersion = "v1.00.01";
// Level 6 answers in UTF-8, so titles in any script arrive whole.
constexpr int kCddbProtocolLevel = 6;
constexpr long kCddbQueryTimeoutMs = 10000;
constexpr long kCddbReadTimeoutMs = 5000;
// A whole request, however slowly the server sends; a reply, however long.
// A real answer takes a second and a few kilobytes.
constexpr long kCddbRequestLimitMs = 30000;
constexpr size_t kCddbMaxReplyBytes = 4 * 1024 * 1024;

// "user+host+Mavelo+v1%2E00%2E01": each part with blanks turned into "_" and
// then URL-encoded.
std::string CddbHello(const std::string& user, const std::string& host);
std::string CddbQueryUrl(const std::string& server, const TDiscTable& table,
                         const std::string& user, const std::string& host);
std::string CddbReadUrl(const std::string& server, const std::string& category,
                        const std::string& discId, const std::string& user,
                        const std::string& host);

// The reply body as UTF-8: taken as it is when it is valid UTF-8, else read
// as Latin-1 (older servers and level-5 answers).
std::string CddbReplyText(std::string_view body);

struct TFreeDBMatch {
    std::string Category;  // "rock"
    std::string DiscId;    // 8 hexadecimal digits
    std::string Title;     // "Artist / Album" as the server sends it
};

// A parsed query answer.  A refusal is a CDDB status of 4xx or 5xx (such as
// "500 Unknown application"); its line is kept so the user sees the
// server's own words.
// A reply that is cut short (no CDDB status line, or a list without its
// closing "." line) yields nothing.
struct TCddbQueryReply {
    std::vector<TFreeDBMatch> Matches;
    bool Refused = false;
    bool CutShort = false;
    std::string StatusLine;
};
TCddbQueryReply ParseCddbQueryReply(std::string_view text);

// The disc details of a read: album, artist, year, genre, length ("m:ss"),
// then a (duration, title) pair per track.
struct TDiscDetails {
    std::string Album;
    std::string Artist;
    std::string Year;
    std::string Genre;
    std::string Length;
    struct Track {
        std::string Duration;
        std::string Title;
    };
    std::vector<Track> Tracks;

    // The flat entry list: 5 entries, then 2 per track.
    std::vector<std::string> Entries() const;
};

struct TCddbReadReply {
    TDiscDetails Details;
    bool Refused = false;
    bool CutShort = false;
    std::string StatusLine;
};
TCddbReadReply ParseCddbReadReply(std::string_view text);
