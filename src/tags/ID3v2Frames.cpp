#include "tags/ID3v2Frames.h"

#include <algorithm>
#include <vector>

#include "core/Ucommon.h"
#include "tags/ID3v1.h"
#include "tags/TagBytes.h"
#include "tags/TagText.h"

std::string Deunsynchronise(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i) {
        out += bytes[i];
        if (bytes[i] == '\xFF' && i + 1 < bytes.size() && bytes[i + 1] == '\0') ++i;
    }
    return out;
}

std::optional<std::string> FramePayload(const TID3v2Frame& frame, int version) {
    std::string_view data = frame.Data;
    if (version == 3) {
        if (frame.Flags & 0x00C0) return std::nullopt;  // compressed or encrypted
        if (frame.Flags & 0x0020) data.remove_prefix(std::min<size_t>(1, data.size()));
        return std::string(data);
    }
    if (version == 4) {
        if (frame.Flags & 0x000C) return std::nullopt;  // compressed or encrypted
        size_t extra = ((frame.Flags & 0x0040) ? 1 : 0) + ((frame.Flags & 0x0001) ? 4 : 0);
        data.remove_prefix(std::min(extra, data.size()));
        if (frame.Flags & FrameV4Unsynchronised) return Deunsynchronise(data);
    }
    return std::string(data);
}

namespace {

bool IsWide(uint8_t encoding) {
    return encoding == 1 || encoding == 2;
}

// Position of the first terminator of a string in the encoding, or npos.
size_t TerminatorAt(std::string_view bytes, uint8_t encoding) {
    if (!IsWide(encoding)) return bytes.find('\0');
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        if (bytes[i] == '\0' && bytes[i + 1] == '\0') return i;
    return std::string_view::npos;
}

size_t TerminatorSize(uint8_t encoding) {
    return IsWide(encoding) ? 2 : 1;
}

// UTF-16 without a byte-order mark: the order whose high bytes are zero more often.
bool LooksBigEndian(std::string_view bytes) {
    size_t evenZeros = 0, oddZeros = 0;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        evenZeros += bytes[i] == '\0';
        oddZeros += bytes[i + 1] == '\0';
    }
    return evenZeros > oddZeros;
}

std::string DecodeString(std::string_view bytes, uint8_t encoding) {
    switch (encoding) {
        case 1:
            return Utf16ToUtf8(bytes, LooksBigEndian(bytes));
        case 2:
            return Utf16ToUtf8(bytes, true);
        default:
            return TagBytesToUtf8(bytes);  // 0 and 3; see TagBytesToUtf8
    }
}

// The strings of a frame body, split at terminators; an empty last piece
// (a terminated final string) is not a value.
std::vector<std::string_view> SplitStrings(std::string_view bytes, uint8_t encoding) {
    std::vector<std::string_view> pieces;
    while (!bytes.empty()) {
        size_t end = TerminatorAt(bytes, encoding);
        if (end == std::string_view::npos) {
            pieces.push_back(bytes);
            break;
        }
        pieces.push_back(bytes.substr(0, end));
        bytes.remove_prefix(end + TerminatorSize(encoding));
    }
    return pieces;
}

std::string DecodeValues(std::string_view bytes, uint8_t encoding, bool several) {
    std::string result;
    for (std::string_view piece : SplitStrings(bytes, encoding)) {
        std::string value(TrimLow(DecodeString(piece, encoding)));
        if (!several) return value;
        if (value.empty()) continue;
        if (!result.empty()) result += '/';
        result += value;
    }
    return result;
}

// Splits off "description + terminator" after `skip` bytes of the payload.
std::optional<std::string_view> AfterDescription(std::string_view payload, size_t skip,
                                                 bool* hasDescription) {
    if (payload.size() < skip) return std::nullopt;
    const auto encoding = static_cast<uint8_t>(payload[0]);
    std::string_view rest = payload.substr(skip);
    size_t end = TerminatorAt(rest, encoding);
    if (hasDescription) *hasDescription = end != std::string_view::npos && end > 0;
    if (end == std::string_view::npos) return rest;
    return rest.substr(end + TerminatorSize(encoding));
}

bool KnownEncoding(std::string_view payload) {
    return !payload.empty() && static_cast<uint8_t>(payload[0]) <= 3;
}

}  // namespace

std::optional<std::string> DecodeTextFrame(std::string_view payload, int version) {
    if (!KnownEncoding(payload)) return std::nullopt;
    return DecodeValues(payload.substr(1), static_cast<uint8_t>(payload[0]), version >= 4);
}

std::optional<std::string> DecodeCommentFrame(std::string_view payload, bool* hasDescription) {
    if (!KnownEncoding(payload)) return std::nullopt;
    auto text = AfterDescription(payload, 4, hasDescription);
    if (!text) return std::nullopt;
    return DecodeValues(*text, static_cast<uint8_t>(payload[0]), false);
}

std::optional<std::string> DecodeLinkFrame(std::string_view payload) {
    if (!KnownEncoding(payload)) return std::nullopt;
    auto address = AfterDescription(payload, 1, nullptr);
    if (!address) return std::nullopt;
    return std::string(TrimLow(TagBytesToUtf8(address->substr(0, address->find('\0')))));
}

std::string EncodeTextFrameData(std::string_view text) {
    std::string latin1;
    if (Utf8ToLatin1(text, latin1)) return '\0' + latin1;
    return std::string("\x01\xFF\xFE", 3) + Utf8ToUtf16LE(text);
}

size_t FrameHeaderSize(int version) {
    return version == 2 ? 6 : 10;
}

bool AppendFrame(std::string& out, const TID3v2Frame& frame, int version) {
    const size_t size = frame.Data.size();
    const size_t limit = version == 2 ? (1u << 24) : version == 4 ? (1u << 28) : (1ull << 32);
    if (size >= limit || frame.Id.size() != (version == 2 ? 3u : 4u)) return false;
    out += frame.Id;
    if (version == 2) {
        AppendBE(out, static_cast<uint32_t>(size), 3);
    } else {
        if (version == 4)
            AppendSyncsafe(out, static_cast<uint32_t>(size));
        else
            AppendBE(out, static_cast<uint32_t>(size), 4);
        AppendBE(out, frame.Flags, 2);
    }
    out += frame.Data;
    return true;
}

namespace {

bool AllDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string ReferenceName(std::string_view reference) {
    if (reference == "RX") return "Remix";
    if (reference == "CR") return "Cover";
    int number = 0;
    if (reference.size() <= 3 && TryStrToInt(reference, number))
        return std::string(GenreName(number));
    return {};
}

}  // namespace

std::string ResolveGenreText(std::string_view text) {
    std::string_view rest = TrimLow(text);
    std::string_view lastReference;
    while (rest.size() > 1 && rest[0] == '(' && rest[1] != '(') {
        size_t close = rest.find(')');
        if (close == std::string_view::npos) break;
        std::string_view reference = rest.substr(1, close - 1);
        if (!AllDigits(reference) && reference != "RX" && reference != "CR") break;
        lastReference = reference;
        rest.remove_prefix(close + 1);
    }
    if (rest.starts_with("((")) rest.remove_prefix(1);
    rest = TrimLow(rest);
    if (rest.empty()) return ReferenceName(lastReference);
    if (AllDigits(rest) && lastReference.empty()) {
        std::string name = ReferenceName(rest);
        if (!name.empty()) return name;
    }
    return std::string(rest);
}
