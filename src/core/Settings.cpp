#include "core/Settings.h"

#include <algorithm>
#include <array>

#include "core/IniFile.h"
#include "core/Ucommon.h"

namespace {
// Sections in the order they stand in the file.  The browse presets
// ("BrowsePreset_N") take the place after Tips.
constexpr std::array<std::string_view, 17> kSectionOrder = {
    "File",          "Window",   "Cache",   "Format",   "Sort",        "Tips",
    "BrowsePreset_", "Browse",   "Audio",   "Internet", "Performance", "Export",
    "Tagging",       "CoversDB", "ToolBar", "MRU",      "FreeDB"};
constexpr std::string_view kBrowsePresetPrefix = "BrowsePreset_";

// Reads and writes one key with the same code, so that the two directions
// cannot drift apart.
class Keys {
  public:
    Keys(const TIniFile* in, TIniFile* out) : in_(in), out_(out) {}
    void Text(std::string_view section, std::string_view key, std::string& value) const {
        if (in_) value = in_->ReadString(section, key, value);
        if (out_) out_->WriteString(section, key, value);
    }
    void Integer(std::string_view section, std::string_view key, int& value) const {
        if (in_) value = in_->ReadInteger(section, key, value);
        if (out_) out_->WriteInteger(section, key, value);
    }
    // A choice among min..max: a stored value outside the range is as
    // unreadable as "abc" and gives the default, so no reader indexes a
    // table with it.
    void Choice(std::string_view section, std::string_view key, int& value, int min,
                int max) const {
        if (in_) {
            const int stored = in_->ReadInteger(section, key, value);
            if (stored >= min && stored <= max) value = stored;
        }
        if (out_) out_->WriteInteger(section, key, value);
    }
    void Bool(std::string_view section, std::string_view key, bool& value) const {
        if (in_) value = in_->ReadBool(section, key, value);
        if (out_) out_->WriteBool(section, key, value);
    }

  private:
    const TIniFile* in_;
    TIniFile* out_;
};

// Every key but the recent files, in the order of the file.  ShowSplashScreen
// is a Window key but is written first, before the layout keys.
void Exchange(TSettings& s, const Keys& k) {
    k.Text("File", "CurrentFile", s.CurrentFile);
    k.Bool("File", "CDAutoScan", s.CDAutoScan);

    k.Bool("Window", "ShowSplashScreen", s.ShowSplashScreen);
    k.Integer("Window", "Width", s.Width);
    k.Integer("Window", "Height", s.Height);
    k.Integer("Window", "RightWidth", s.RightWidth);
    k.Integer("Window", "TracksHeight", s.TracksHeight);
    k.Integer("Window", "DetailsHeight", s.DetailsHeight);
    k.Choice("Window", "CurrentPage", s.CurrentPage, 0, 1);
    k.Choice("Window", "CurrentPageList", s.CurrentPageList, 0, 1);
    k.Bool("Window", "StayOnTop", s.StayOnTop);
    k.Bool("Window", "ViewSpectrum", s.ViewSpectrum);
    k.Bool("Window", "CoverViewPlayer", s.CoverViewPlayer);
    k.Text("Window", "CurrentLanguage", s.CurrentLanguage);
    k.Integer("Window", "MostOftenPlayedCount", s.MostOftenPlayedCount);
    k.Integer("Window", "LastPlayedCount", s.LastPlayedCount);
    k.Choice("Window", "CoverPos", s.CoverPos, 0, 2);
    k.Bool("Window", "HideOneFolder", s.HideOneFolder);

    k.Bool("Cache", "CacheCovers", s.CacheCovers);
    k.Bool("Cache", "SaveCachedCovers", s.SaveCachedCovers);
    k.Choice("Cache", "CacheCoversQuality", s.CacheCoversQuality, 0, 2);
    k.Bool("Cache", "EmbeddedCovers", s.EmbeddedCovers);

    k.Text("Format", "TrackFormat", s.TrackFormat);
    k.Text("Format", "ListFormat", s.ListFormat);

    k.Text("Sort", "SortString", s.SortString);
    k.Bool("Sort", "YearAsc", s.YearAsc);

    k.Integer("Tips", "TipNumber", s.TipNumber);
    k.Bool("Tips", "ShowTips", s.ShowTips);

    k.Bool("Browse", "FullScreen", s.FullScreen);

    k.Integer("Audio", "OutputType", s.OutputType);
    k.Integer("Audio", "DriverIndex", s.DriverIndex);
    k.Choice("Audio", "MixerType", s.MixerType, 0, 7);
    k.Integer("Audio", "OutputRate", s.OutputRate);
    k.Choice("Audio", "Volume", s.Volume, 0, 255);
    k.Text("Audio", "ReplayGain", s.ReplayGain);
    k.Choice("Audio", "ReplayGainPreamp", s.ReplayGainPreamp, -15, 15);

    k.Text("Internet", "FreeDB", s.FreeDB);
    k.Text("Internet", "FreeDBLogin", s.FreeDBLogin);
    k.Text("Internet", "FreeDBHostName", s.FreeDBHostName);
    k.Bool("Internet", "UseFreeDB", s.UseFreeDB);
    k.Text("Internet", "Mavelo", s.Mavelo);
    k.Bool("Internet", "CheckUpdates", s.CheckUpdates);
    k.Integer("Internet", "LastCheck", s.LastCheck);

    k.Bool("Performance", "EnablePrescan", s.EnablePrescan);
    k.Bool("Performance", "Log", s.Log);
    k.Bool("Performance", "WatchFolders", s.WatchFolders);

    k.Text("Export", "Template", s.Template);
    k.Text("Export", "Output", s.Output);
    k.Bool("Export", "Open", s.Open);

    k.Choice("Tagging", "DefaultTagging", s.DefaultTagging, 0, 2);

    k.Choice("CoversDB", "CoversDBDefaultPictureQuality", s.CoversDBDefaultPictureQuality, 0, 2);
}

void ExchangeFreeDB(TSettings& s, const Keys& k) {
    k.Bool("FreeDB", "FreeDBTag", s.FreeDBTag);
    k.Bool("FreeDB", "FreeDBRenameFile", s.FreeDBRenameFile);
    k.Bool("FreeDB", "FreeDBRenamePlayList", s.FreeDBRenamePlayList);
    k.Bool("FreeDB", "FreeDBRenameDir", s.FreeDBRenameDir);
    k.Choice("FreeDB", "FreeDBTagging", s.FreeDBTagging, 0, 2);
    k.Choice("FreeDB", "FreeDBBatchTagging", s.FreeDBBatchTagging, 0, 2);
}

std::vector<std::string> ReadRecentFiles(const TIniFile& ini) {
    std::vector<std::string> files;
    const int count = ini.ReadInteger("MRU", "Count", 0);
    for (int i = 0; i < count; ++i) {
        std::string file = ini.ReadString("MRU", "File" + std::to_string(i), "");
        if (!file.empty()) files.push_back(std::move(file));
    }
    return files;
}

void WriteRecentFiles(TIniFile& ini, const std::vector<std::string>& files) {
    ini.WriteInteger("MRU", "Count", static_cast<int>(files.size()));
    for (size_t i = 0; i < files.size(); ++i)
        ini.WriteString("MRU", "File" + std::to_string(i), files[i]);
}
}  // namespace

int SettingsSectionRank(std::string_view section) {
    if (section.size() > kBrowsePresetPrefix.size() &&
        SameTextAscii(section.substr(0, kBrowsePresetPrefix.size()), kBrowsePresetPrefix))
        section = kBrowsePresetPrefix;
    for (size_t i = 0; i < kSectionOrder.size(); ++i)
        if (SameTextAscii(section, kSectionOrder[i])) return static_cast<int>(i);
    return static_cast<int>(kSectionOrder.size());
}

TSettings::TSettings() : FreeDBLogin(GetLoginName()), FreeDBHostName(GetHostNameOrDefault()) {}

void TSettings::Read(const TIniFile& ini) {
    const Keys keys(&ini, nullptr);
    Exchange(*this, keys);
    RecentFiles = ReadRecentFiles(ini);
    ExchangeFreeDB(*this, keys);
}

void TSettings::Write(TIniFile& ini) const {
    // Sections written before or after this (tool bars, browse presets) are
    // put at their place by the rank.
    ini.SetSectionOrder(SettingsSectionRank);
    const Keys keys(nullptr, &ini);
    TSettings copy = *this;  // Exchange takes the fields by reference
    Exchange(copy, keys);
    WriteRecentFiles(ini, RecentFiles);
    ExchangeFreeDB(copy, keys);
}
