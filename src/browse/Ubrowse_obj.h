#pragma once
// The look of the browse view (the wall of covers) and the list of named
// looks the user keeps.  Entry 0 of the list is the look in use; entries 1
// and up are presets, in the order they were made.  The list lives in the
// settings file: "PresetsCount" in section "Browse", and one section
// "BrowsePreset_N" (N from 1) per entry.
//
// Colours are kept as the file stores them: 0x00BBGGRR numbers.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class TIniFile;

using TBrowseColor = int32_t;  // 0x00BBGGRR

// Builds a colour from its red, green and blue parts (0-255 each).
constexpr TBrowseColor BrowseRgb(int red, int green, int blue) {
    return static_cast<TBrowseColor>((blue & 0xFF) << 16 | (green & 0xFF) << 8 | (red & 0xFF));
}
constexpr int BrowseRed(TBrowseColor color) { return color & 0xFF; }
constexpr int BrowseGreen(TBrowseColor color) { return (color >> 8) & 0xFF; }
constexpr int BrowseBlue(TBrowseColor color) { return (color >> 16) & 0xFF; }

struct TBrowseFont {
    std::string Name;
    int Size = 8;  // points
    TBrowseColor Color = 0;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;

    bool operator==(const TBrowseFont&) const = default;
};

struct TBrowseDetails {
    static constexpr int kMinimumSide = 100;

    int Width = 120;  // panel size, at least kMinimumSide
    int Height = 160;
    int Space = 4;  // gap between panels and around the wall, at least 0
    TBrowseColor BackgroundColor = BrowseRgb(255, 255, 255);
    TBrowseColor PanelColor = BrowseRgb(238, 238, 238);
    TBrowseColor SelectedPanelColor = BrowseRgb(209, 230, 239);
    TBrowseColor InSelectionPanelColor = BrowseRgb(238, 245, 249);
    bool PanelBorder = true;
    // The three text lines of a panel: font, raised ("3D") look and the
    // colour of its highlight.
    TBrowseColor Artist3DColor = BrowseRgb(255, 255, 255);
    TBrowseColor Album3DColor = BrowseRgb(255, 255, 255);
    TBrowseColor Year3DColor = BrowseRgb(255, 255, 255);
    bool Artist3D = true;
    bool Album3D = true;
    bool Year3D = true;
    TBrowseFont ArtistFont{"MS Sans Serif", 8, 0, true, false, false};
    TBrowseFont AlbumFont{"MS Sans Serif", 8, 0, false, false, false};
    TBrowseFont YearFont{"Courier New", 8, 0, false, false, false};
    // The album details panel of the list view takes the background colour too.
    bool SetListBackColor = false;

    bool operator==(const TBrowseDetails&) const = default;

    // One "BrowsePreset_N" section; sizes below their minimum are raised to it.
    void Read(const TIniFile& ini, std::string_view section);
    void Write(TIniFile& ini, std::string_view section) const;
};

struct TBrowsePreset {
    std::string Name;
    TBrowseDetails Details;
};

// What a preset command did.
enum class TBrowsePresetResult {
    Done,
    NameExists,   // "New": a preset of that name (in any letter case) exists
    NoSelection,  // no preset (or an entry outside 1 ... Count()-1) was named
};

class TBrowseDetailsList {
  public:
    // The largest "PresetsCount" read; more would only be a damaged file
    // asking for millions of default entries.
    static constexpr int kMaximumPresets = 1000;

    TBrowseDetailsList();  // entry 0 alone, with the default look

    size_t Count() const { return presets_.size(); }
    const TBrowsePreset& operator[](size_t index) const { return presets_[index]; }
    // The look in use (entry 0, always there).
    TBrowseDetails& Current() { return presets_[0].Details; }
    const TBrowseDetails& Current() const { return presets_[0].Details; }
    // The names of the presets (entries 1 and up), as a list box shows them.
    std::vector<std::string> PresetNames() const;
    // The entry of that name compared without regard to A-Z case.
    std::optional<size_t> Find(std::string_view name) const;

    // Replaces the list with the one the settings file holds.  Entry 0 is
    // named "* Default *" whatever the file says; a preset without a name
    // is "Browse mode preset N".  A count of 0 or below gives entry 0 with
    // the default look.
    void Load(const TIniFile& ini);
    // Writes every entry, and removes the sections of entries that no
    // longer exist.
    void Save(TIniFile& ini) const;

    // The preset commands of the browse options window.  `index` is an
    // entry number (1 ... Count()-1).
    TBrowsePresetResult AddFromCurrent(const std::string& name);
    TBrowsePresetResult OverwriteWithCurrent(std::optional<size_t> index);
    TBrowsePresetResult LoadIntoCurrent(std::optional<size_t> index);
    TBrowsePresetResult Delete(std::optional<size_t> index);

  private:
    bool IsPreset(std::optional<size_t> index) const {
        return index && *index >= 1 && *index < presets_.size();
    }

    std::vector<TBrowsePreset> presets_;
};

// The name of section N (1-based): "BrowsePreset_N".
std::string BrowsePresetSection(size_t number);
std::string DefaultBrowsePresetName();
