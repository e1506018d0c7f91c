// mavelo-cli discid and freedb: the FreeDB disc identifier of an album's
// playlist, and the lookup of that album (matches and the chosen record as
// JSON), optionally followed by the update that writes tags, renames files
// and saves the playlist.
#include <filesystem>
#include <iostream>
#include <optional>

#include "cli/Commands.h"
#include "cli/Json.h"
#include "cli/ListReading.h"
#include "collection/Um3u_obj.h"
#include "core/FileSystem.h"
#include "freedb/Ubatch.h"
#include "freedb/Ufreedb.h"
#include "player/SoundSystem.h"
#include "player/Uplaylist.h"

namespace {

// Durations come from the player's own measuring; SDL's silent output is
// enough, so it works without a sound card.
class TMeasurer {
  public:
    TMeasurer() { sound_.Init({TSoundSystem::OutputTypeOf("dummy"), 0, 4}); }
    void operator()(Tmp3& track) {
        TSong song(sound_, "", track, true, false, 0, 0);
        if (!song.ErrorText.empty()) track.Duration = 0;
    }

  private:
    TSoundSystem sound_;
};

// The album of the playlist with its tracks' tags; nothing when the file
// cannot be read.
std::optional<Tm3u> ReadAlbum(const std::string& command, const std::string& playlist) {
    Tm3u album(std::filesystem::absolute(playlist).lexically_normal().string());
    if (!FileExists(album.PlaylistPath) || !album.ReadPlaylist(true)) {
        std::cerr << "mavelo-cli " << command << ": " << playlist << ": cannot read the playlist\n";
        return std::nullopt;
    }
    album.Refresh(true);
    return album;
}

int DiscIdCommand(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        std::cerr << "mavelo-cli discid: needs one PLAYLIST\n";
        return 2;
    }
    auto album = ReadAlbum("discid", args[0]);
    if (!album) return 1;
    TMeasurer measure;
    auto table = BuildDiscTable(AlbumDurations(*album, std::ref(measure)));
    if (!table) {
        std::cerr << "mavelo-cli discid: the album does not fit on a disc "
                     "(no track, more than 100, or longer than 255 minutes)\n";
        return 1;
    }
    std::cout << DiscIdText(DiscId(*table)) << "\n" << CddbQueryCommand(*table) << "\n";
    return 0;
}

struct TFreeDBArgs {
    std::string playlist;
    std::string server;
    std::string category, discId;
    bool apply = false;
    TAlbumApplyOptions applyOptions;
};

bool ParseTagType(const std::string& text, int32_t& type) {
    if (text == "id3v2")
        type = TagTypeId3v2;
    else if (text == "id3v1")
        type = TagTypeId3v1;
    else if (text == "both")
        type = TagTypeBoth;
    else
        return false;
    return true;
}

// Fills the arguments; an error text when they do not make sense.
std::string ParseArgs(const std::vector<std::string>& args, TFreeDBArgs& out) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--server" && hasValue)
            out.server = args[++i];
        else if (a == "--read" && i + 2 < args.size()) {
            out.category = args[++i];
            out.discId = args[++i];
        } else if (a == "--apply")
            out.apply = true;
        else if (a == "--tag-type" && hasValue) {
            if (!ParseTagType(args[++i], out.applyOptions.TagType))
                return "--tag-type takes id3v2, id3v1 or both";
        } else if (a == "--rename-files")
            out.applyOptions.RenameFiles = true;
        else if (a == "--rename-playlist")
            out.applyOptions.RenamePlaylist = true;
        else if (a == "--rename-dir")
            out.applyOptions.RenameFolder = true;
        else if (!a.starts_with("--") && out.playlist.empty())
            out.playlist = a;
        else
            return "unknown argument " + a;
    }
    if (out.playlist.empty()) return "needs a PLAYLIST";
    if (out.apply && !out.category.empty())
        return "--apply takes the first complete match itself; leave out --read";
    return {};
}

std::string MatchesJson(const std::vector<TFreeDBMatch>& matches) {
    std::string json = "[";
    for (size_t i = 0; i < matches.size(); ++i) {
        TJsonObject m;
        m.Add("category", matches[i].Category);
        m.Add("discid", matches[i].DiscId);
        m.Add("title", matches[i].Title);
        json += (i ? "," : "") + m.Text();
    }
    return json + "]";
}

std::string DetailsJson(const TDiscDetails& d) {
    TJsonObject json;
    json.Add("album", d.Album);
    json.Add("artist", d.Artist);
    json.Add("year", d.Year);
    json.Add("genre", d.Genre);
    json.Add("length", d.Length);
    std::string tracks = "[";
    for (size_t i = 0; i < d.Tracks.size(); ++i) {
        TJsonObject t;
        t.Add("duration", d.Tracks[i].Duration);
        t.Add("title", d.Tracks[i].Title);
        tracks += (i ? "," : "") + t.Text();
    }
    json.Raw("tracks", tracks + "]");
    return json.Text();
}

// Progress of the update, told on stderr.
class TStderrView : public TFreeDBUpdateView {
  public:
    std::string comment;
    void ShowAlbum(const std::string&, const std::string&, bool) override {}
    void ShowStep(const std::string& text) override { std::cerr << text << "\n"; }
    void ShowComment(const std::string& text) override { comment = text; }
    void SetAlbumBar(int, int) override {}
    void SetOverallBar(int, int) override {}
};

std::string FailuresJson(const std::vector<std::string>& failures) {
    std::string json = "[";
    for (size_t i = 0; i < failures.size(); ++i) json += (i ? "," : "") + JsonString(failures[i]);
    return json + "]";
}

int Update(Tm3u& album, TFreeDBUpdateOptions& options, TJsonObject& json) {
    TStderrView view;
    std::atomic<bool> cancel{false};
    auto result = FreeDBUpdateAlbum(album, options, 0, 1, true, view, cancel);
    TJsonObject update;
    update.Add("success", int64_t{result.Success});
    update.Add("comment", view.comment);
    update.Add("playlist", album.PlaylistPath);
    update.Raw("failures", FailuresJson(result.Report.Failures));
    json.Raw("update", update.Text());
    return result.Success && result.Report.Failures.empty() ? 0 : 1;
}

int FreeDBCommand(const std::vector<std::string>& args) {
    TFreeDBArgs a;
    if (auto error = ParseArgs(args, a); !error.empty()) {
        std::cerr << "mavelo-cli freedb: " << error << "\n";
        return 2;
    }
    auto album = ReadAlbum("freedb", a.playlist);
    if (!album) return 1;
    const TSettings settings = ReadProgramSettings();
    TFreeDBUpdateOptions options;
    options.Server = {a.server.empty() ? settings.FreeDB : a.server,
                      settings.FreeDBLogin,
                      settings.FreeDBHostName,
                      {}};
    options.Apply = a.applyOptions;
    options.Apply.TrackFormat = settings.TrackFormat;
    options.Apply.ListFormat = settings.ListFormat;
    TMeasurer measurer;
    options.Measure = std::ref(measurer);

    TJsonObject json;
    if (a.apply) {
        const int code = Update(*album, options, json);
        std::cout << json.Text() << "\n";
        return code;
    }
    auto query = FreeDBQuery(options.Server, *album, options.Measure);
    json.Add("comment", FreeDBQueryComment(query));
    json.Raw("matches", MatchesJson(query.Matches));
    if (query.Result < 0) {
        std::cout << json.Text() << "\n";
        std::cerr << "mavelo-cli freedb: " << query.Reason << "\n";
        return 1;
    }
    std::string category = a.category, discId = a.discId;
    if (category.empty() && !query.Matches.empty()) {
        category = query.Matches[0].Category;
        discId = query.Matches[0].DiscId;
    }
    int code = 0;
    if (!category.empty()) {
        auto read = FreeDBRead(options.Server, category, discId);
        if (read.Result >= 0) {
            json.Raw("record", DetailsJson(read.Details));
        } else {
            std::cerr << "mavelo-cli freedb: " << read.Reason << "\n";
            code = 1;
        }
    }
    std::cout << json.Text() << "\n";
    return code;
}

CliCommandRegistration discidRegistration{
    {"discid", "discid PLAYLIST",
     "print the album's FreeDB disc id and its CDDB query command (durations measured)",
     DiscIdCommand}};
CliCommandRegistration freedbRegistration{
    {"freedb",
     "freedb PLAYLIST [--server URL] [--read CAT ID] [--apply] [--tag-type id3v2|id3v1|both] "
     "[--rename-files] [--rename-playlist] [--rename-dir]",
     "look the album up on FreeDB (matches and the first or chosen record as JSON); "
     "--apply updates it from the first complete match",
     FreeDBCommand}};
}  // namespace
