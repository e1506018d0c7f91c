#include "freedb/Ufreedb.h"

#include "collection/Um3u_obj.h"

namespace {
HttpResult Fetch(const TFreeDBServer& server, const std::string& url, long timeoutMs) {
    return server.Get ? server.Get(url, timeoutMs, server.Limits)
                      : HttpGetWithin(url, timeoutMs, server.Limits);
}

// The body's text when the server answered, else the failure's reason.
template <typename Result>
bool Answered(const HttpResult& http, Result& result, std::string& text) {
    if (http.status != 200) {
        result.Failure = TFreeDBFailure::NoAnswer;
        result.Reason =
            http.error.empty() ? "HTTP status " + std::to_string(http.status) : http.error;
        return false;
    }
    text = CddbReplyText(http.body);
    return true;
}

// Whether the parsed reply counts; else the failure is noted in `result`.
template <typename Result, typename Reply>
bool Usable(const Reply& reply, Result& result) {
    if (reply.Refused) {
        result.Failure = TFreeDBFailure::Refused;
        result.Reason = reply.StatusLine;
        return false;
    }
    if (reply.CutShort) {
        result.Failure = TFreeDBFailure::CutShort;
        result.Reason = "The server's reply was cut short or is no CDDB reply";
        return false;
    }
    return true;
}
}  // namespace

TFreeDBQueryResult FreeDBQuery(const TFreeDBServer& server, Tm3u& album,
                               const TTrackMeasure& measure) {
    auto table = BuildDiscTable(AlbumDurations(album, measure));
    if (!table) {
        TFreeDBQueryResult result;
        result.Failure = TFreeDBFailure::NoDisc;
        result.Reason = "The album does not fit on a disc";
        return result;
    }
    return FreeDBQueryDisc(server, *table);
}

TFreeDBQueryResult FreeDBQueryDisc(const TFreeDBServer& server, const TDiscTable& table) {
    TFreeDBQueryResult result;
    const auto http = Fetch(server, CddbQueryUrl(server.Url, table, server.User, server.Host),
                            server.QueryTimeoutMs);
    std::string text;
    if (!Answered(http, result, text)) return result;
    auto reply = ParseCddbQueryReply(text);
    if (!Usable(reply, result)) return result;
    result.Matches = std::move(reply.Matches);
    result.Result = static_cast<int>(result.Matches.size() * 3);
    return result;
}

TFreeDBReadResult FreeDBRead(const TFreeDBServer& server, const std::string& category,
                             const std::string& discId) {
    TFreeDBReadResult result;
    const auto http =
        Fetch(server, CddbReadUrl(server.Url, category, discId, server.User, server.Host),
              server.ReadTimeoutMs);
    std::string text;
    if (!Answered(http, result, text)) return result;
    auto reply = ParseCddbReadReply(text);
    if (!Usable(reply, result)) return result;
    result.Details = std::move(reply.Details);
    result.Result = static_cast<int>(result.Details.Entries().size());
    return result;
}
