#include "core/IniFile.h"

#include <algorithm>

#include "core/FileSystem.h"
#include "core/SafeWrite.h"
#include "core/Ucommon.h"

namespace {
std::string_view TrimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

// A line break inside a value would end it early and turn the rest into a
// line of its own, so names and values are written without CR and LF.
std::string OneLine(std::string_view text) {
    std::string result(text);
    std::erase_if(result, [](char c) { return c == '\r' || c == '\n'; });
    return result;
}

// A "[name]" line; blanks around the brackets and the name are not part of it.
bool ParseSectionHeader(std::string_view line, std::string& name) {
    line = TrimBlanks(line);
    if (line.size() < 2 || line.front() != '[') return false;
    const auto close = line.find(']');
    if (close == std::string_view::npos) return false;
    name = std::string(TrimBlanks(line.substr(1, close - 1)));
    return true;
}
}  // namespace

bool TIniFile::Load(const std::string& path) {
    if (!FileExists(path)) {
        sections_.clear();
        return false;
    }
    LoadFromText(ReadWholeFile(path));
    return true;
}

void TIniFile::LoadFromText(std::string_view text) {
    sections_.clear();
    sections_.push_back(Section{});  // lines before the first section
    std::string name;
    for (std::string_view raw : SplitLines(text)) {
        if (ParseSectionHeader(raw, name)) {
            sections_.push_back(Section{name, {}});
            continue;
        }
        if (TrimBlanks(raw).empty()) continue;  // blank lines carry nothing; ToText spaces sections
        Line line;
        const auto equals = raw.find('=');
        const std::string_view key = equals == std::string_view::npos
                                         ? std::string_view()
                                         : TrimBlanks(raw.substr(0, equals));
        if (!key.empty() && raw.front() != ';') {
            line.keyed = true;
            line.key = std::string(key);
            line.value = std::string(TrimBlanks(raw.substr(equals + 1)));
        } else {
            line.value = std::string(raw);
        }
        sections_.back().lines.push_back(std::move(line));
    }
    if (sections_.front().lines.empty()) sections_.erase(sections_.begin());
    if (rank_) SetSectionOrder(rank_);
}

TIniFile::Section* TIniFile::FindSection(std::string_view name) {
    for (auto& s : sections_)
        if (!s.name.empty() && SameTextAscii(s.name, name)) return &s;
    return nullptr;
}

const TIniFile::Section* TIniFile::FindSection(std::string_view name) const {
    return const_cast<TIniFile*>(this)->FindSection(name);
}

const TIniFile::Line* TIniFile::FindLine(std::string_view section, std::string_view key) const {
    const Section* s = FindSection(section);
    if (!s) return nullptr;
    for (const auto& line : s->lines)
        if (line.keyed && SameTextAscii(line.key, key)) return &line;
    return nullptr;
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 std::string_view fallback) const {
    const Line* line = FindLine(section, key);
    return std::string(line ? std::string_view(line->value) : fallback);
}

int TIniFile::ReadInteger(std::string_view section, std::string_view key, int fallback) const {
    const Line* line = FindLine(section, key);
    return line ? StrToIntDef(line->value, fallback) : fallback;
}

bool TIniFile::ReadBool(std::string_view section, std::string_view key, bool fallback) const {
    const Line* line = FindLine(section, key);
    return line ? line->value == "1" : fallback;
}

bool TIniFile::ValueExists(std::string_view section, std::string_view key) const {
    return FindLine(section, key) != nullptr;
}

bool TIniFile::SectionExists(std::string_view section) const {
    return FindSection(section) != nullptr;
}

std::vector<std::string> TIniFile::ReadSection(std::string_view section) const {
    std::vector<std::string> keys;
    if (const Section* s = FindSection(section))
        for (const auto& line : s->lines)
            if (line.keyed) keys.push_back(line.key);
    return keys;
}

std::vector<std::string> TIniFile::Sections() const {
    std::vector<std::string> names;
    for (const auto& s : sections_)
        if (!s.name.empty()) names.push_back(s.name);
    return names;
}

TIniFile::Section& TIniFile::SectionForWriting(std::string_view name) {
    if (Section* found = FindSection(name)) return *found;
    auto position = sections_.end();
    if (rank_) {
        const int rank = rank_(name);
        position = std::find_if(sections_.begin(), sections_.end(), [&](const Section& s) {
            return !s.name.empty() && rank_(s.name) > rank;
        });
    }
    return *sections_.insert(position, Section{std::string(name), {}});
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    Section& s = SectionForWriting(OneLine(section));
    for (auto& line : s.lines) {
        if (line.keyed && SameTextAscii(line.key, key)) {
            line.value = OneLine(value);
            return;
        }
    }
    s.lines.push_back(Line{OneLine(key), OneLine(value), true});
}

void TIniFile::WriteInteger(std::string_view section, std::string_view key, int value) {
    WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

void TIniFile::DeleteKey(std::string_view section, std::string_view key) {
    if (Section* found = FindSection(section)) {
        std::erase_if(found->lines,
                      [&](const Line& l) { return l.keyed && SameTextAscii(l.key, key); });
    }
}

void TIniFile::EraseSection(std::string_view section) {
    std::erase_if(sections_, [&](const Section& s) {
        return !s.name.empty() && SameTextAscii(s.name, section);
    });
}

void TIniFile::AddSection(std::string_view section) {
    SectionForWriting(section);
}

void TIniFile::SetSectionOrder(SectionRank rank) {
    rank_ = std::move(rank);
    if (!rank_) return;
    // The nameless head (lines before any section) stays first.
    auto named = std::find_if(sections_.begin(), sections_.end(),
                              [](const Section& s) { return !s.name.empty(); });
    std::stable_sort(named, sections_.end(), [&](const Section& a, const Section& b) {
        return rank_(a.name) < rank_(b.name);
    });
}

std::string TIniFile::ToText() const {
    std::string text;
    for (const auto& s : sections_) {
        if (!s.name.empty()) {
            if (!text.empty()) text += '\n';
            text += '[' + s.name + "]\n";
        }
        for (const auto& line : s.lines)
            text += line.keyed ? line.key + '=' + line.value + '\n' : line.value + '\n';
    }
    return text;
}

void TIniFile::Save(const std::string& path) const {
    ReplaceFileContents(path, ToText());
}
