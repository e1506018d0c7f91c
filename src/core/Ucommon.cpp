#include "core/Ucommon.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "core/Utf8.h"

std::string NormalizeSeparators(std::string_view path) {
    std::string result(path);
    std::replace(result.begin(), result.end(), '\\', '/');
    return result;
}

std::string BlanksToUnderscores(std::string_view text) {
    std::string result(text);
    std::replace(result.begin(), result.end(), ' ', '_');
    return result;
}

std::string DupAmpersands(std::string_view text) {
    std::string result;
    std::string_view rest = text;
    for (auto amp = rest.find('&'); amp != std::string_view::npos; amp = rest.find('&')) {
        result.append(rest.substr(0, amp + 1));
        result += '&';
        rest = Utf8Prefix(rest.substr(amp + 1), 255);
    }
    result.append(Utf8Prefix(rest, 255));
    return result;
}

std::string StripAmpersands(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (char c : text)
        if (c != '&') result += c;
    return result;
}

std::string SafeFileName(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::string_view("<>|\"\\/?:").find(c) != std::string_view::npos || byte < 32 ||
            byte == 127)
            c = '_';
    }
    if (result.empty()) return "_";
    if (result.front() == '.') result.front() = '_';
    return result;
}

namespace {
// Second byte of the UTF-8 forms C2 xx of the characters StripControlChars drops.
bool IsUndefinedC1(unsigned char second) {
    return second == 0x81 || second == 0x8D || second == 0x8F || second == 0x90 || second == 0x9D;
}
}  // namespace

std::string StripControlChars(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 32 || byte == 127) continue;
        if (byte == 0xC2 && i + 1 < text.size() &&
            IsUndefinedC1(static_cast<unsigned char>(text[i + 1]))) {
            ++i;
            continue;
        }
        result += text[i];
    }
    return result;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
    }
    return lines;
}

std::string LowerAscii(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return result;
}

std::string UpperAscii(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return result;
}

bool SameTextAscii(std::string_view a, std::string_view b) {
    return a.size() == b.size() && LowerAscii(a) == LowerAscii(b);
}

namespace {
bool IsWordChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '\'';
}
}  // namespace

bool TextMatches(std::string_view search, std::string_view value, bool wordsOnly) {
    const std::string needle = LowerAscii(search);
    const std::string haystack = LowerAscii(value);
    if (needle.empty()) return false;
    if (!wordsOnly) return haystack.find(needle) != std::string::npos;
    bool anyWord = false;
    size_t i = 0;
    while (i < needle.size()) {
        while (i < needle.size() && !IsWordChar(needle[i])) ++i;
        size_t start = i;
        while (i < needle.size() && IsWordChar(needle[i])) ++i;
        if (i == start) continue;
        anyWord = true;
        if (haystack.find(std::string_view(needle).substr(start, i - start)) == std::string::npos)
            return false;
    }
    return anyWord;
}

std::optional<size_t> IndexOfText(const std::vector<std::string>& list, std::string_view text) {
    const std::string wanted = LowerAscii(text);
    for (size_t i = 0; i < list.size(); ++i) {
        if (text.empty() ? list[i].empty() : LowerAscii(list[i]) == wanted) return i;
    }
    return std::nullopt;
}

bool TryStrToInt(std::string_view text, int& value) {
    size_t start = 0;
    while (start < text.size() && text[start] == ' ') ++start;
    std::string_view digits = text.substr(start);
    if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
    if (digits.empty()) return false;
    int parsed = 0;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), parsed);
    if (error != std::errc() || end != digits.data() + digits.size()) return false;
    value = parsed;
    return true;
}

int StrToIntDef(std::string_view text, int fallback) {
    int value = 0;
    return TryStrToInt(text, value) ? value : fallback;
}

int StrToIntOrZero(std::string_view text) {
    return StrToIntDef(text, 0);
}

std::string IntToStrSafe(int64_t value) {
    return std::to_string(value);
}

std::string UrlEncode(std::string_view text) {
    static const char* const hex = "0123456789ABCDEF";
    std::string result;
    result.reserve(text.size() * 3);
    for (char c : text) {
        auto byte = static_cast<unsigned char>(c);
        if (c == ' ') {
            result += '+';
        } else if (std::isalnum(byte) && byte < 128) {
            result += c;
        } else {
            result += '%';
            result += hex[byte >> 4];
            result += hex[byte & 15];
        }
    }
    return result;
}

std::string HelpTopicPage(int topic) {
    static const char* const pages[] = {
        "list.htm",      "browse.htm",   "newlist.htm",   "edit.htm",    "config.htm",
        "browseopt.htm", "filter.htm",   "listbuild.htm", "search.htm",  "cdbmanage.htm",
        "picrep.htm",    "rootdirs.htm", "export.htm",    "template.htm"};
    if (topic < 1 || topic > 14) return {};
    return pages[topic - 1];
}
