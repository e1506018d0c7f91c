#include "views/Ufilter_obj.h"

#include "collection/UIo.h"
#include "core/Ucommon.h"

namespace {
// One artist or genre term against a lower-cased value.
bool TextTermMatches(std::string_view term, std::string_view value) {
    if (term.empty()) return false;
    const bool quoteFirst = term.front() == '"';
    const bool quoteLast = term.size() > 1 && term.back() == '"';
    if (quoteFirst && quoteLast) return term.substr(1, term.size() - 2) == value;
    if (quoteFirst) return value.starts_with(term.substr(1));
    if (quoteLast) return value.ends_with(term.substr(0, term.size() - 1));
    if (term.find('"') != std::string_view::npos) return false;
    return value.find(term) != std::string_view::npos;
}

// A range bound or a year: 0 when missing or unreadable.
int RangeNumber(std::string_view text) {
    return StrToIntOrZero(text);
}

bool YearTermMatches(std::string_view term, std::string_view yearText) {
    const size_t dash = term.find('-');
    if (dash == std::string_view::npos)
        return !term.empty() && yearText.find(term) != std::string_view::npos;
    const int low = RangeNumber(term.substr(0, dash));
    const int high = RangeNumber(term.substr(dash + 1));
    const int year = RangeNumber(yearText);
    if (low == 0 && high > 0) return year <= high;
    if (low > 0 && high == 0) return year >= low;
    if (low > 0 && high > 0) return low <= year && year <= high;
    return false;
}

template <typename TermTest>
bool AnyTermMatches(std::string_view criterion, std::string_view value, TermTest test) {
    const std::string loweredValue = LowerAscii(value);
    const std::string loweredCriterion = LowerAscii(criterion);
    for (std::string_view term : SplitCriterion(loweredCriterion))
        if (test(term, loweredValue)) return true;
    return false;
}

bool IsBlankOrControl(char c) {
    return static_cast<unsigned char>(c) <= ' ' || c == '\x7f';
}
}  // namespace

std::vector<std::string_view> SplitCriterion(std::string_view criterion) {
    std::vector<std::string_view> terms;
    if (criterion.empty()) return terms;
    size_t start = 0;
    for (size_t i = 0; i <= criterion.size(); ++i) {
        if (i < criterion.size() && criterion[i] != ';' && criterion[i] != '\r' &&
            criterion[i] != '\n')
            continue;
        terms.push_back(criterion.substr(start, i - start));
        // A CR LF pair is one line break.
        if (i + 1 < criterion.size() && criterion[i] == '\r' && criterion[i + 1] == '\n') ++i;
        start = i + 1;
    }
    return terms;
}

bool TextCriterionMatches(std::string_view criterion, std::string_view value) {
    return AnyTermMatches(criterion, value, TextTermMatches);
}

bool YearCriterionMatches(std::string_view criterion, std::string_view yearText) {
    return AnyTermMatches(criterion, yearText, YearTermMatches);
}

std::string TakeCriterion(std::string_view fieldText) {
    while (!fieldText.empty() && IsBlankOrControl(fieldText.front())) fieldText.remove_prefix(1);
    while (!fieldText.empty() && IsBlankOrControl(fieldText.back())) fieldText.remove_suffix(1);
    return std::string(fieldText);
}

bool TFilter::Matches(std::string_view artist, std::string_view genre,
                      std::string_view year) const {
    if (!Artist.empty() && !TextCriterionMatches(Artist, artist)) return false;
    if (!Genre.empty() && !TextCriterionMatches(Genre, genre)) return false;
    return Year.empty() || YearCriterionMatches(Year, year);
}

void TFilter::Write(TLoadSave& stream) const {
    stream.WriteString(Genre);
    stream.WriteString(Artist);
    stream.WriteString(Year);
}

void TFilter::Read(TLoadSave& stream) {
    Genre = stream.ReadString();
    Artist = stream.ReadString();
    Year = stream.ReadString();
}

void TFilterList::AddAndChoose(const std::string& name, const TFilter& filter,
                               const std::string& emptyName) {
    Presets.push_back({name.empty() ? emptyName : name, filter});
    ChosenIndex = static_cast<int>(Presets.size()) - 1;
}

void TFilterList::Delete(int index) {
    if (!ValidIndex(index)) return;
    Presets.erase(Presets.begin() + index);
    ChosenIndex = -1;
}

void TFilterList::Clear() {
    Presets.clear();
    ChosenIndex = -1;
}

const TFilter TFilterState::kEmptyFilter{};

void TFilterState::WriteBlock(TLoadSave& stream) const {
    Applied.Write(stream);
    Edited.Write(stream);
    stream.WriteInteger(Presets.ChosenIndex);
    stream.WriteInteger(static_cast<int32_t>(Presets.Count()));
    for (const auto& preset : Presets.Presets) {
        stream.WriteString(preset.Name);
        preset.Filter.Write(stream);
    }
}

void TFilterState::ReadBlock(TLoadSave& stream) {
    Applied.Read(stream);
    Edited.Read(stream);
    Presets.ChosenIndex = stream.ReadInteger();
    const int32_t count = stream.ReadInteger();
    Presets.Presets.clear();
    for (int32_t i = 0; i < count; ++i) {
        TFilterPreset preset;
        preset.Name = stream.ReadString();
        preset.Filter.Read(stream);
        Presets.Presets.push_back(std::move(preset));
    }
}

void TFilterState::LoadFile(const TReadSource& source) {
    TLoadSave stream;
    stream.Open(source);
    ReadBlock(stream);
    stream.Finish();
}

void TFilterState::SaveFile(const std::string& path) const {
    TLoadSave stream;
    stream.OpenWrite(path);
    WriteBlock(stream);
    stream.Finish();
}

void TFilterState::CloseList() {
    Presets.Clear();
    Applied.Clear();
}

const TFilter& TFilterState::FilterBoxFilter(size_t entry) const {
    if (entry == 0 || entry >= FilterBoxCount()) return kEmptyFilter;
    if (entry == 1) return Edited;
    return Presets.Presets[entry - 2].Filter;
}

size_t TFilterState::FilterBoxShownEntry() const {
    for (size_t entry = FilterBoxCount(); entry-- > 0;) {
        if (entry == 1) continue;
        if (FilterBoxFilter(entry) == Applied) return entry;
    }
    return 1;
}
