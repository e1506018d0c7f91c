#pragma once
// Filters over the artist, genre and year of albums, the named presets, and
// the filter block stored in list files and in ".mvf" filter files.
//
// A criterion is a list of terms separated by ";" or line breaks.  Artist and
// genre terms: plain = substring, "x" = whole value, "x = beginning,
// x" = ending.  Year terms: plain = substring of the year text, "a-b" = range
// (an unreadable or missing bound counts as 0, which means "open").
#include <string>
#include <string_view>
#include <vector>

#include "core/ReadSource.h"

class TLoadSave;

// The terms of a criterion, split at ";" and line breaks; not trimmed.
std::vector<std::string_view> SplitCriterion(std::string_view criterion);
bool TextCriterionMatches(std::string_view criterion, std::string_view value);
bool YearCriterionMatches(std::string_view criterion, std::string_view yearText);
// A criterion as taken from an edit field: the whole text trimmed of leading
// and trailing blanks and control characters.
std::string TakeCriterion(std::string_view fieldText);

class TFilter {
  public:
    std::string Artist;
    std::string Genre;
    std::string Year;

    void Clear() { *this = TFilter(); }
    bool IsEmpty() const { return Artist.empty() && Genre.empty() && Year.empty(); }
    bool operator==(const TFilter&) const = default;  // case-sensitive
    // An empty criterion sets no condition.
    bool Matches(std::string_view artist, std::string_view genre, std::string_view year) const;

    // Genre, artist, year: the order of every filter record.
    void Write(TLoadSave& stream) const;
    void Read(TLoadSave& stream);
};

struct TFilterPreset {
    std::string Name;
    TFilter Filter;
};

// Named presets in the user's order (names need not be unique) and the
// chosen one (-1 = none).
class TFilterList {
  public:
    std::vector<TFilterPreset> Presets;
    int ChosenIndex = -1;

    size_t Count() const { return Presets.size(); }
    bool ValidIndex(int index) const { return index >= 0 && size_t(index) < Presets.size(); }
    // Appends a preset (an empty name becomes `emptyName`) and chooses it.
    void AddAndChoose(const std::string& name, const TFilter& filter,
                      const std::string& emptyName = "New preferences");
    // Removes the preset at the index and clears the choice.
    void Delete(int index);
    void Clear();
};

// The filter state of the filter window: the filter the view list applies,
// the criteria of the window's fields, and the presets.
class TFilterState {
  public:
    TFilter Applied;
    TFilter Edited;
    TFilterList Presets;

    // The filter block.  Reading replaces the state item by item, so after a
    // read error whatever was read before the error stays in place.
    void WriteBlock(TLoadSave& stream) const;
    void ReadBlock(TLoadSave& stream);
    // A ".mvf" file holds the filter block alone (read from the file or from
    // its bytes in memory).  Both throw EMyFileError (or std::system_error
    // when the file cannot be opened or replaced).
    void LoadFile(const TReadSource& source);
    void SaveFile(const std::string& path) const;

    // Closing a list clears the presets and the applied filter; the edited
    // criteria stay in the window.
    void CloseList();

    // The filter box: entry 0 "* No filter *", entry 1 "* Current settings *"
    // (the edited filter), then the presets.
    size_t FilterBoxCount() const { return Presets.Count() + 2; }
    const TFilter& FilterBoxFilter(size_t entry) const;
    // The entry to show: the last one whose filter equals the applied filter
    // (entry 1 never takes part); entry 1 when none does.
    size_t FilterBoxShownEntry() const;
    // Choosing an entry of the filter box: its filter becomes the applied one.
    void ChooseFilterBoxEntry(size_t entry) { Applied = FilterBoxFilter(entry); }

  private:
    static const TFilter kEmptyFilter;
};
