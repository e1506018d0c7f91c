#include "freedb/CddbProtocol.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <map>
#include <optional>

#include "core/Ucommon.h"
#include "core/Utf8.h"
#include "freedb/Udiscid.h"

namespace {
constexpr size_t kMaxValue = 255;
constexpr size_t kMaxTitle = 1024;

std::string HelloPart(const std::string& text) {
    return UrlEncode(BlanksToUnderscores(text));
}

std::string RequestTail(const std::string& user, const std::string& host) {
    return "&hello=" + CddbHello(user, host) + "&proto=" + std::to_string(kCddbProtocolLevel);
}

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

std::string Cut(std::string_view text, size_t maxBytes) {
    return std::string(Utf8Prefix(Trim(text), maxBytes));
}

// The code of a CDDB status line ("211 Found inexact matches"), or nothing.
std::optional<int> StatusCode(std::string_view line) {
    if (line.size() < 4 || line[3] != ' ') return std::nullopt;
    for (size_t i = 0; i < 3; ++i)
        if (!std::isdigit(static_cast<unsigned char>(line[i]))) return std::nullopt;
    return (line[0] - '0') * 100 + (line[1] - '0') * 10 + (line[2] - '0');
}

// The first line that is not empty: the server's status.
std::string_view FirstLine(const std::vector<std::string_view>& lines) {
    for (auto line : lines)
        if (!Trim(line).empty()) return Trim(line);
    return {};
}

bool IsRefusal(std::string_view statusLine) {
    auto code = StatusCode(statusLine);
    return code && *code >= 400;
}

// Keeps the reply's status line in `reply`; true when the server refused.
template <typename Reply>
bool TakeStatus(const std::vector<std::string_view>& lines, Reply& reply) {
    const std::string_view status = FirstLine(lines);
    reply.StatusLine = std::string(status);
    reply.Refused = IsRefusal(status);
    return reply.Refused;
}

// A status whose middle digit is 1 announces lines that follow, up to a lone ".".
bool AnnouncesLines(std::string_view statusLine) {
    return statusLine.size() > 1 && statusLine[1] == '1';
}

// The data lines of a reply: those after its status line up to the lone "."
// that ends a multi-line answer.  A reply without a CDDB status, or whose
// list lacks its closing line (the transfer stopped partway), is cut short:
// nothing of it counts.
template <typename Reply>
std::vector<std::string_view> DataLines(const std::vector<std::string_view>& lines, Reply& reply) {
    if (!StatusCode(reply.StatusLine)) {
        reply.CutShort = true;
        return {};
    }
    if (!AnnouncesLines(reply.StatusLine)) return {};
    size_t first = 0;
    while (Trim(lines[first]).empty()) ++first;  // the status line is not empty
    std::vector<std::string_view> data;
    for (size_t i = first + 1; i < lines.size(); ++i) {
        if (Trim(lines[i]) == ".") return data;
        data.push_back(lines[i]);
    }
    reply.CutShort = true;
    return {};
}

// "rock 0a0b0c0d Artist / Album": nothing when the line has no identifier.
std::optional<TFreeDBMatch> ParseMatchLine(std::string_view line) {
    const size_t categoryEnd = line.find(' ');
    if (categoryEnd == std::string_view::npos || categoryEnd == 0) return std::nullopt;
    std::string_view rest = line.substr(categoryEnd + 1);
    const size_t idEnd = rest.find(' ');
    TFreeDBMatch match;
    match.Category = std::string(line.substr(0, categoryEnd));
    match.DiscId = std::string(rest.substr(0, idEnd));
    if (idEnd != std::string_view::npos) match.Title = Cut(rest.substr(idEnd + 1), kMaxTitle);
    if (match.DiscId.empty()) return std::nullopt;
    return match;
}

// The track number of a TTITLE key: text that is no number counts as 0; a
// number beyond the 256 titles a record can hold (however many digits it
// has) names no track.
std::optional<int> TrackNumber(std::string_view digits) {
    const bool allDigits =
        !digits.empty() && std::all_of(digits.begin(), digits.end(), [](char c) {
            return std::isdigit(static_cast<unsigned char>(c));
        });
    if (!allDigits) {
        const int n = StrToIntOrZero(digits);
        return n >= 0 && n <= 255 ? std::optional<int>(n) : std::nullopt;
    }
    while (digits.size() > 1 && digits.front() == '0') digits.remove_prefix(1);
    if (digits.size() > 3) return std::nullopt;
    const int n = StrToIntOrZero(digits);
    return n <= 255 ? std::optional<int>(n) : std::nullopt;
}

std::string MinutesSeconds(int64_t seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%d:%.2d", static_cast<int>(seconds / 60),
                  static_cast<int>(seconds % 60));
    return text;
}

// The xmcd record as it is read line by line.
struct TXmcdState {
    bool inOffsets = false;
    std::vector<std::string> offsets;
    std::map<int, std::string> titles;
    int highestTitle = -1;
    int64_t discSeconds = 0;
    bool haveLength = false;
    std::string dtitle, genre, year;

    void ReadLine(std::string_view raw);
    void ReadDiscLength(std::string_view line);
    void ReadValue(std::string_view key, std::string_view value);
    TDiscDetails Details() const;
};

void TXmcdState::ReadLine(std::string_view raw) {
    const std::string_view line = Trim(raw);
    if (line == "#") {
        inOffsets = false;
    } else if (SameTextAscii(line, "# track frame offsets:")) {
        inOffsets = true;
    } else if (line.size() >= 14 && SameTextAscii(line.substr(0, 14), "# disc length:")) {
        ReadDiscLength(line.substr(14));
    } else if (line.size() >= 2 && line[0] == '#' && (line[1] == '\t' || line[1] == ' ')) {
        if (inOffsets) offsets.emplace_back(Trim(line.substr(2)));
    } else if (const size_t p = line.find('='); p != std::string_view::npos && !inOffsets) {
        // The value keeps its blanks until the end, as a long value may be
        // split between two lines at a blank.
        const std::string_view untrimmed = raw.substr(raw.find('=') + 1);
        ReadValue(line.substr(0, p), untrimmed);
    }
}

void TXmcdState::ReadDiscLength(std::string_view text) {
    text = Trim(text);
    while (!text.empty() && !std::isdigit(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    discSeconds = StrToIntOrZero(text);
    haveLength = true;
}

// Repeated keys continue the value: xmcd records split long values over
// several lines of the same key.
void TXmcdState::ReadValue(std::string_view key, std::string_view value) {
    if (key == "DTITLE") {
        dtitle += value;
    } else if (key == "DGENRE") {
        genre = value;
    } else if (key == "DYEAR") {
        year = value;
    } else if (key.starts_with("TTITLE")) {
        const auto number = TrackNumber(key.substr(6));
        if (!number) return;
        const int n = *number;
        titles[n] += value;
        if (n > highestTitle) highestTitle = n;
    }
}

TDiscDetails TXmcdState::Details() const {
    TDiscDetails details;
    const std::string title = std::string(Trim(dtitle));
    if (const size_t slash = title.find(" / "); slash != std::string::npos) {
        details.Artist = Cut(title.substr(0, slash), kMaxValue);
        details.Album = Cut(title.substr(slash + 3), kMaxValue);
    } else {
        // The xmcd convention for a disc without a separate artist.
        details.Artist = details.Album = Cut(title, kMaxValue);
    }
    details.Year = Cut(year, kMaxValue);
    details.Genre = Cut(genre, kMaxValue);
    if (haveLength) details.Length = MinutesSeconds(discSeconds);
    const size_t count = std::max(offsets.size(), static_cast<size_t>(highestTitle + 1));
    for (size_t j = 0; j < count; ++j) {
        int64_t frames = 0;
        if (j < offsets.size()) {
            const int64_t start = StrToIntOrZero(offsets[j]);
            if (j + 1 < offsets.size())
                frames = StrToIntOrZero(offsets[j + 1]) - start;
            else if (discSeconds >= 1)
                frames = discSeconds * 75 - start;
        }
        if (frames < 0) frames = 0;
        auto it = titles.find(static_cast<int>(j));
        details.Tracks.push_back(
            {MinutesSeconds(frames / 75), it == titles.end() ? "" : Cut(it->second, kMaxTitle)});
    }
    return details;
}
}  // namespace

std::string CddbHello(const std::string& user, const std::string& host) {
    return HelloPart(user) + "+" + HelloPart(host) + "+" + kCddbProgramName + "+" +
           HelloPart(kCddbProgramVersion);
}

std::string CddbQueryUrl(const std::string& server, const TDiscTable& table,
                         const std::string& user, const std::string& host) {
    return server + "?cmd=" + CddbQueryCommand(table) + RequestTail(user, host);
}

std::string CddbReadUrl(const std::string& server, const std::string& category,
                        const std::string& discId, const std::string& user,
                        const std::string& host) {
    // The values come from the server's own answer: encoded, they cannot add
    // fields to the request ("rock&cmd=x").
    return server + "?cmd=cddb+read+" + UrlEncode(category) + "+" + UrlEncode(discId) +
           RequestTail(user, host);
}

std::string CddbReplyText(std::string_view body) {
    if (IsValidUtf8(body)) return std::string(body);
    std::string text;
    text.reserve(body.size() * 2);
    for (unsigned char c : body) AppendUtf8(text, c);
    return text;
}

TCddbQueryReply ParseCddbQueryReply(std::string_view text) {
    TCddbQueryReply reply;
    const auto lines = SplitLines(text);
    if (TakeStatus(lines, reply)) return reply;
    const auto data = DataLines(lines, reply);
    const std::string_view status = reply.StatusLine;
    // A single exact match comes on the status line itself.
    if (StatusCode(status) == 200) {
        if (auto match = ParseMatchLine(status.substr(4))) reply.Matches.push_back(*match);
        return reply;
    }
    for (auto raw : data) {
        const std::string_view line = Trim(raw);
        if (line.empty() || StatusCode(line) || line[0] == '.' || line[0] == '(') continue;
        if (auto match = ParseMatchLine(line)) reply.Matches.push_back(*match);
    }
    return reply;
}

TCddbReadReply ParseCddbReadReply(std::string_view text) {
    TCddbReadReply reply;
    const auto lines = SplitLines(text);
    if (TakeStatus(lines, reply)) return reply;
    const auto data = DataLines(lines, reply);
    if (reply.CutShort) return reply;
    TXmcdState state;
    for (auto line : data)
        if (!line.empty()) state.ReadLine(line);
    reply.Details = state.Details();
    return reply;
}

std::vector<std::string> TDiscDetails::Entries() const {
    std::vector<std::string> entries{Album, Artist, Year, Genre, Length};
    for (const auto& track : Tracks) {
        entries.push_back(track.Duration);
        entries.push_back(track.Title);
    }
    return entries;
}
