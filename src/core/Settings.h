#pragma once
// Every setting the program keeps in mavelo.ini, with its default.  Fields are
// named after their keys.  Read takes each key from the file (missing or
// unreadable values give the default, and so does a choice such as
// CacheCoversQuality or Volume outside its range); Write puts every key back and fixes
// the order of the sections.  The ToolBar section (tool bar layout) and the
// browse presets (sections "BrowsePreset_N", Browse "PresetsCount") are read
// and written by their own code on the same TIniFile; Write arranges that
// they, and any section written later, stand at their place in the file.
#include <string>
#include <string_view>
#include <vector>

class TIniFile;

struct TSettings {
    TSettings();  // defaults, including the ones taken from the system

    // File
    std::string CurrentFile;
    bool CDAutoScan = true;
    // Window
    bool ShowSplashScreen = true;
    int Width = 800;
    int Height = 600;
    int RightWidth = 240;
    int TracksHeight = 200;
    int DetailsHeight = 142;
    int CurrentPage = 0;      // 0 list, 1 browse
    int CurrentPageList = 0;  // 0 album grid, 1 folder tree
    bool StayOnTop = false;
    bool ViewSpectrum = true;
    bool CoverViewPlayer = true;
    std::string CurrentLanguage = "English";
    int MostOftenPlayedCount = 25;
    int LastPlayedCount = 25;
    int CoverPos = 0;  // 0 left, 1 centre, 2 right
    bool HideOneFolder = true;
    // Cache
    bool CacheCovers = true;
    bool SaveCachedCovers = true;
    int CacheCoversQuality = 0;  // 0 normal, 1 high, 2 extra
    bool EmbeddedCovers = true;  // albums without a picture file show their tracks' cover
    // Format
    std::string TrackFormat = "%number - %title";
    std::string ListFormat = "%artist - %album (%year)";
    // Sort
    std::string SortString = "AYG";
    bool YearAsc = false;
    // Tips
    int TipNumber = 0;
    bool ShowTips = true;
    // Browse
    bool FullScreen = false;
    // Audio
    int OutputType = 1;
    int DriverIndex = -1;  // -1: the sound layer's current driver
    int MixerType = 4;
    int OutputRate = -1;  // -1: the sound layer's current output rate
    int Volume = 255;
    // Loudness evened out by the files' ReplayGain tags: "off", "track",
    // "album" or "auto" (the album's gain while the queue holds one album in
    // order, else the track's), and a pre-amp in dB.
    std::string ReplayGain = "auto";
    int ReplayGainPreamp = 0;
    // Internet
    std::string FreeDB = "http://gnudb.gnudb.org/~cddb/cddb.cgi";
    std::string FreeDBLogin;     // default: the user's login name
    std::string FreeDBHostName;  // default: the machine's host name
    bool UseFreeDB = true;
    std::string Mavelo;  // update site; empty means no update check
    bool CheckUpdates = true;
    int LastCheck = 0;
    // Performance
    bool EnablePrescan = false;
    bool Log = false;
    // A fast scan of the folders that change under the open list's roots.
    bool WatchFolders = true;
    // Export
    std::string Template = "export_html.tpt";
    std::string Output = "export.html";
    bool Open = true;
    // Tagging
    int DefaultTagging = 0;  // 0 Id3v2, 1 Id3v1, 2 both
    // CoversDB
    int CoversDBDefaultPictureQuality = 0;
    // MRU: most recent first
    std::vector<std::string> RecentFiles;
    // FreeDB
    bool FreeDBTag = true;
    bool FreeDBRenameFile = true;
    bool FreeDBRenamePlayList = true;
    bool FreeDBRenameDir = false;
    int FreeDBTagging = 0;
    int FreeDBBatchTagging = 0;

    void Read(const TIniFile& ini);
    // Writes every key.  "MRU" entries beyond the new count stay in the file.
    void Write(TIniFile& ini) const;
};

// The place of a section in mavelo.ini: File, Window, Cache, Format, Sort,
// Tips, the browse presets, Browse, Audio, Internet, Performance, Export,
// Tagging, CoversDB, ToolBar, MRU, FreeDB; sections the program does not
// know come last, in their own order.
int SettingsSectionRank(std::string_view section);
