#pragma once
// The FreeDB client: a query for an album's disc and the read of one match.
// Requests go through an HTTP GET that the caller may replace (the windows
// run it off their thread; tests count requests).
#include <functional>
#include <string>
#include <vector>

#include "core/Ucommon.h"
#include "freedb/CddbProtocol.h"
#include "freedb/Udiscid.h"

class Tm3u;

using THttpGet =
    std::function<HttpResult(const std::string& url, long timeoutMs, const HttpLimits& limits)>;

// Where and as whom requests are made.
struct TFreeDBServer {
    std::string Url;
    std::string User;
    std::string Host;
    THttpGet Get;  // empty: HttpGetWithin
    long QueryTimeoutMs = kCddbQueryTimeoutMs;
    long ReadTimeoutMs = kCddbReadTimeoutMs;
    // Whatever the server does, a request ends within this time and holds
    // at most this much.
    HttpLimits Limits{kCddbRequestLimitMs, kCddbMaxReplyBytes};
};

enum class TFreeDBFailure {
    None,
    NoDisc,    // the album does not fit a disc table (no track, too many, too long)
    NoAnswer,  // no connection, a time-out or an HTTP status other than 200
    Refused,   // the server's CDDB status was 4xx or 5xx
    CutShort,  // the reply ended before its closing line, or was no CDDB reply
};

struct TFreeDBQueryResult {
    // -1 on failure, else the number of match entries (three per match).
    int Result = -1;
    std::vector<TFreeDBMatch> Matches;
    TFreeDBFailure Failure = TFreeDBFailure::None;
    std::string Reason;  // the server's status line or the transfer's error
};

struct TFreeDBReadResult {
    // -1 on failure, else the number of entries of the disc details.
    int Result = -1;
    TDiscDetails Details;
    TFreeDBFailure Failure = TFreeDBFailure::None;
    std::string Reason;
};

// Measures the tracks without a duration, builds the disc table and queries.
TFreeDBQueryResult FreeDBQuery(const TFreeDBServer& server, Tm3u& album,
                               const TTrackMeasure& measure);
// The query for a disc table already built (no album is touched).
TFreeDBQueryResult FreeDBQueryDisc(const TFreeDBServer& server, const TDiscTable& table);
TFreeDBReadResult FreeDBRead(const TFreeDBServer& server, const std::string& category,
                             const std::string& discId);
