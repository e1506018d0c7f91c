#include "views/TextCollator.h"

#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <utility>

namespace {
std::unique_ptr<icu::Collator> MakeCollator(const std::string& localeName) {
    icu::Locale locale =
        localeName.empty() ? icu::Locale::getDefault() : icu::Locale(localeName.c_str());
    // The C/POSIX locale collates by code point, upper case before lower
    // case: no order a user expects.  The root order stands in for it.
    if (std::string_view(locale.getVariant()) == "POSIX") locale = icu::Locale::getRoot();
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Collator> collator(icu::Collator::createInstance(locale, status));
    if (U_FAILURE(status) || !collator) {
        status = U_ZERO_ERROR;
        collator.reset(icu::Collator::createInstance(icu::Locale::getRoot(), status));
    }
    if (!collator) throw std::runtime_error("No collator available");
    collator->setStrength(icu::Collator::SECONDARY);
    // Blanks and punctuation must take part in the order (blanks first).
    status = U_ZERO_ERROR;
    collator->setAttribute(UCOL_ALTERNATE_HANDLING, UCOL_NON_IGNORABLE, status);
    return collator;
}
}  // namespace

TTextCollator::TTextCollator(const std::string& localeName) : collator_(MakeCollator(localeName)) {}

TTextCollator::~TTextCollator() = default;

std::string TTextCollator::SortKey(std::string_view utf8) const {
    const icu::UnicodeString text = icu::UnicodeString::fromUTF8(
        icu::StringPiece(utf8.data(), static_cast<int32_t>(utf8.size())));
    // Most keys fit the buffer, and the key then takes no more memory than it needs.
    uint8_t buffer[128];
    int32_t length = collator_->getSortKey(text, buffer, static_cast<int32_t>(sizeof buffer));
    if (length <= static_cast<int32_t>(sizeof buffer))
        return std::string(reinterpret_cast<const char*>(buffer),
                           length > 0 ? static_cast<size_t>(length) - 1 : 0);  // no final zero
    std::string key(static_cast<size_t>(length), '\0');
    length = collator_->getSortKey(text, reinterpret_cast<uint8_t*>(key.data()), length);
    key.resize(length > 0 ? static_cast<size_t>(length) - 1 : 0);
    return key;
}

int TTextCollator::Compare(std::string_view a, std::string_view b) const {
    UErrorCode status = U_ZERO_ERROR;
    return collator_->compareUTF8(icu::StringPiece(a.data(), static_cast<int32_t>(a.size())),
                                  icu::StringPiece(b.data(), static_cast<int32_t>(b.size())),
                                  status);
}

std::string LowerText(std::string_view utf8) {
    icu::UnicodeString text = icu::UnicodeString::fromUTF8(
        icu::StringPiece(utf8.data(), static_cast<int32_t>(utf8.size())));
    text.toLower(icu::Locale::getRoot());
    std::string lowered;
    text.toUTF8String(lowered);
    return lowered;
}

std::string FirstCharacters(std::string_view utf8, size_t count) {
    size_t offset = 0;
    const auto length = static_cast<int32_t>(utf8.size());
    for (size_t taken = 0; taken < count && offset < utf8.size(); ++taken) {
        auto i = static_cast<int32_t>(offset);
        UChar32 c;
        U8_NEXT(reinterpret_cast<const uint8_t*>(utf8.data()), i, length, c);
        (void)c;
        offset = static_cast<size_t>(i);
    }
    return std::string(utf8.substr(0, offset));
}

size_t CharacterCount(std::string_view utf8) {
    size_t count = 0;
    const auto length = static_cast<int32_t>(utf8.size());
    for (int32_t i = 0; i < length; ++count) {
        UChar32 c;
        U8_NEXT(reinterpret_cast<const uint8_t*>(utf8.data()), i, length, c);
        (void)c;
    }
    return count;
}

void SortUniqueIgnoringCase(std::vector<std::string>& texts, const TTextCollator& collator) {
    std::vector<std::pair<std::string, std::string>> keyed;  // (key, text)
    keyed.reserve(texts.size());
    for (auto& text : texts) keyed.emplace_back(collator.SortKey(text), std::move(text));
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    keyed.erase(std::unique(keyed.begin(), keyed.end(),
                            [](const auto& a, const auto& b) { return a.first == b.first; }),
                keyed.end());
    texts.clear();
    for (auto& entry : keyed) texts.push_back(std::move(entry.second));
}
