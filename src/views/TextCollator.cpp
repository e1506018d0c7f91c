#include "views/TextCollator.h"

#include <dlfcn.h>
#include <unicode/ucol.h>
#include <unicode/uloc.h>
#include <unicode/ustring.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace {

// ICU's C functions, found in the library of the ICU version the program was
// built with (its functions carry the version in their names).
#define MAVELO_TEXT(x) #x
#define MAVELO_ICU_NAME(function) MAVELO_TEXT(function)  // expands ICU's renaming first
#define MAVELO_ICU_LIBRARY(major) "libicui18n.so." MAVELO_TEXT(major)

struct TIcu {
    decltype(&ucol_open) open = nullptr;
    decltype(&ucol_close) close = nullptr;
    decltype(&ucol_setStrength) setStrength = nullptr;
    decltype(&ucol_setAttribute) setAttribute = nullptr;
    decltype(&ucol_getSortKey) getSortKey = nullptr;
    decltype(&ucol_strcollUTF8) compareUtf8 = nullptr;
    decltype(&uloc_getDefault) defaultLocale = nullptr;
    decltype(&uloc_getVariant) variantOf = nullptr;
    decltype(&u_strFromUTF8WithSub) fromUtf8 = nullptr;
    decltype(&u_strToUTF8) toUtf8 = nullptr;
    decltype(&u_strToLower) toLower = nullptr;
};

template <typename Function>
void Find(void* library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(dlsym(library, name));
    if (!function) throw std::runtime_error(std::string("ICU lacks ") + name);
}

TIcu LoadIcu() {
    // The collation library brings in the common one, where the rest lives.
    void* library = dlopen(MAVELO_ICU_LIBRARY(U_ICU_VERSION_MAJOR_NUM), RTLD_NOW | RTLD_LOCAL);
    if (!library)
        throw std::runtime_error(std::string("Could not load ICU: ") + dlerror());
    TIcu icu;
    Find(library, MAVELO_ICU_NAME(ucol_open), icu.open);
    Find(library, MAVELO_ICU_NAME(ucol_close), icu.close);
    Find(library, MAVELO_ICU_NAME(ucol_setStrength), icu.setStrength);
    Find(library, MAVELO_ICU_NAME(ucol_setAttribute), icu.setAttribute);
    Find(library, MAVELO_ICU_NAME(ucol_getSortKey), icu.getSortKey);
    Find(library, MAVELO_ICU_NAME(ucol_strcollUTF8), icu.compareUtf8);
    Find(library, MAVELO_ICU_NAME(uloc_getDefault), icu.defaultLocale);
    Find(library, MAVELO_ICU_NAME(uloc_getVariant), icu.variantOf);
    Find(library, MAVELO_ICU_NAME(u_strFromUTF8WithSub), icu.fromUtf8);
    Find(library, MAVELO_ICU_NAME(u_strToUTF8), icu.toUtf8);
    Find(library, MAVELO_ICU_NAME(u_strToLower), icu.toLower);
    return icu;  // the library stays loaded until the program ends
}

const TIcu& Icu() {
    static const TIcu icu = LoadIcu();
    return icu;
}

// A UTF-16 copy of a UTF-8 text, ill-formed bytes replaced by U+FFFD.  Short
// texts (nearly all) stay in the inline buffer.
class TUtf16Text {
  public:
    explicit TUtf16Text(std::string_view utf8) {
        const auto length = static_cast<int32_t>(utf8.size());
        // UTF-16 never needs more units than UTF-8 has bytes.
        if (utf8.size() > sizeof inline_ / sizeof inline_[0]) heap_.resize(utf8.size());
        UChar* target = heap_.empty() ? inline_ : heap_.data();
        UErrorCode status = U_ZERO_ERROR;
        Icu().fromUtf8(target, std::max<int32_t>(length, 1), &length_, utf8.data(), length,
                       0xFFFD, nullptr, &status);
        if (U_FAILURE(status)) length_ = 0;
        data_ = target;
    }
    const UChar* data() const { return data_; }
    int32_t size() const { return length_; }

  private:
    UChar inline_[128];
    std::u16string heap_;
    const UChar* data_ = nullptr;
    int32_t length_ = 0;
};

UCollator* OpenCollator(const std::string& localeName) {
    const TIcu& icu = Icu();
    std::string locale = localeName.empty() ? icu.defaultLocale() : localeName;
    // The C/POSIX locale collates by code point, upper case before lower
    // case: no order a user expects.  The root order stands in for it.
    char variant[32] = {};
    UErrorCode status = U_ZERO_ERROR;
    icu.variantOf(locale.c_str(), variant, sizeof variant - 1, &status);
    if (std::string_view(variant) == "POSIX") locale.clear();
    status = U_ZERO_ERROR;
    UCollator* collator = icu.open(locale.c_str(), &status);
    if (U_FAILURE(status) || !collator) {
        if (collator) icu.close(collator);
        status = U_ZERO_ERROR;
        collator = icu.open("", &status);  // the root order
    }
    if (!collator) throw std::runtime_error("No collator available");
    icu.setStrength(collator, UCOL_SECONDARY);
    // Blanks and punctuation must take part in the order (blanks first).
    status = U_ZERO_ERROR;
    icu.setAttribute(collator, UCOL_ALTERNATE_HANDLING, UCOL_NON_IGNORABLE, &status);
    return collator;
}

}  // namespace

struct TTextCollator::TCollatorHandle {
    UCollator* collator;
    ~TCollatorHandle() { Icu().close(collator); }
};

TTextCollator::TTextCollator(std::string localeName) : localeName_(std::move(localeName)) {}

TTextCollator::~TTextCollator() = default;

const TTextCollator::TCollatorHandle& TTextCollator::Collator() const {
    std::call_once(opened_, [this] { collator_.reset(new TCollatorHandle{OpenCollator(localeName_)}); });
    return *collator_;
}

std::string TTextCollator::SortKey(std::string_view utf8) const {
    const TUtf16Text text(utf8);
    const auto getSortKey = [&](uint8_t* into, int32_t room) {
        return Icu().getSortKey(Collator().collator, text.data(), text.size(), into, room);
    };
    // Most keys fit the buffer, and the key then takes no more memory than it needs.
    uint8_t buffer[128];
    int32_t length = getSortKey(buffer, static_cast<int32_t>(sizeof buffer));
    if (length <= static_cast<int32_t>(sizeof buffer))
        return std::string(reinterpret_cast<const char*>(buffer),
                           length > 0 ? static_cast<size_t>(length) - 1 : 0);  // no final zero
    std::string key(static_cast<size_t>(length), '\0');
    length = getSortKey(reinterpret_cast<uint8_t*>(key.data()), length);
    key.resize(length > 0 ? static_cast<size_t>(length) - 1 : 0);
    return key;
}

int TTextCollator::Compare(std::string_view a, std::string_view b) const {
    UErrorCode status = U_ZERO_ERROR;
    return Icu().compareUtf8(Collator().collator, a.data(), static_cast<int32_t>(a.size()),
                             b.data(), static_cast<int32_t>(b.size()), &status);
}

std::string LowerText(std::string_view utf8) {
    const TIcu& icu = Icu();
    const TUtf16Text text(utf8);
    UErrorCode status = U_ZERO_ERROR;
    // Lower case may be longer than the text (a few letters become two).
    std::u16string lowered(static_cast<size_t>(text.size()) * 2 + 1, u'\0');
    const int32_t loweredLength =
        icu.toLower(lowered.data(), static_cast<int32_t>(lowered.size()), text.data(),
                    text.size(), "", &status);
    if (U_FAILURE(status)) return std::string(utf8);
    std::string result(static_cast<size_t>(loweredLength) * 3, '\0');
    int32_t resultLength = 0;
    status = U_ZERO_ERROR;
    icu.toUtf8(result.data(), static_cast<int32_t>(result.size()), &resultLength,
               lowered.data(), loweredLength, &status);
    if (U_FAILURE(status)) return std::string(utf8);
    result.resize(static_cast<size_t>(resultLength));
    return result;
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
