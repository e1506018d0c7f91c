// mavelo-cli discid and freedb: the FreeDB disc identifier of an album's
// playlist, and the lookup of that album (matches and the chosen record as
// JSON), optionally followed by the update that writes tags, renames files
// and saves the playlist.
#include <CLI/App.hpp>
#include <CLI/Validators.hpp>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>

#include "cli/Commands.h"
#include "cli/Json.h"
#include "cli/ListReading.h"
#include "cli/SoundCommands.h"
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

int DiscIdCommand(const std::string& playlist) {
    auto album = ReadAlbum("discid", playlist);
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
    std::vector<std::string> read;  // category and disc id
    std::string category, discId;
    bool apply = false;
    bool noSearch = false;
    TAlbumApplyOptions applyOptions;
};

bool ParseTagType(const std::string& text, TId3Choice& type) {
    if (text == "id3v2")
        type = TId3Choice::V2;
    else if (text == "id3v1")
        type = TId3Choice::V1;
    else if (text == "both")
        type = TId3Choice::Both;
    else
        return false;
    return true;
}

int FreeDBCommand(const TFreeDBArgs& a);

CliRun DefineFreeDB(CLI::App& command) {
    auto a = std::make_shared<TFreeDBArgs>();
    auto tagType = std::make_shared<std::string>();
    command.add_option("PLAYLIST", a->playlist, "the album's playlist")->required();
    command.add_option("--server", a->server, "the FreeDB server to ask")->type_name("URL");
    auto read =
        command.add_option("--read", a->read, "read this record instead of the first match")
            ->expected(2)
            ->type_name("CAT ID");
    auto apply =
        command.add_flag("--apply", a->apply, "update the album from the first complete match")
            ->excludes(read);
    command
        .add_flag("--no-search", a->noSearch,
                  "with --apply: no lookup; only rename and save the playlist")
        ->needs(apply);
    command.add_option("--tag-type", *tagType, "the tags --apply writes")
        ->check(CLI::IsMember({"id3v2", "id3v1", "both"}));
    command.add_flag("--rename-files", a->applyOptions.RenameFiles, "rename the audio files");
    command.add_flag("--rename-playlist", a->applyOptions.RenamePlaylist, "rename the playlist");
    command.add_flag("--rename-dir", a->applyOptions.RenameFolder, "rename the album's folder");
    return [a, tagType] {
        if (!tagType->empty()) ParseTagType(*tagType, a->applyOptions.TagType);
        if (a->read.size() == 2) {
            a->category = a->read[0];
            a->discId = a->read[1];
        }
        return FreeDBCommand(*a);
    };
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
    void ShowAlbum(const std::string&, const std::string&, bool) override {}
    void ShowStep(const std::string& text) override { std::cerr << text << "\n"; }
    void ShowComment(const std::string&) override {}
    void SetAlbumBar(int, int) override {}
    void SetOverallBar(int, int) override {}
};

std::string FailuresJson(const std::vector<std::string>& failures) {
    std::string json = "[";
    for (size_t i = 0; i < failures.size(); ++i) json += (i ? "," : "") + JsonString(failures[i]);
    return json + "]";
}

// The batch update, of this one album.
int Update(Tm3u& album, TFreeDBUpdateOptions& options, TJsonObject& json) {
    TStderrView view;
    TProgress progress;
    const auto batch = RunFreeDBBatch({&album}, options, view, progress);
    const auto& result = batch.Albums.front().Result;
    TJsonObject update;
    update.Add("success", int64_t{result.Success});
    update.Add("comment", result.Comment);
    update.Add("playlist", album.PlaylistPath);
    update.Raw("failures", FailuresJson(result.Report.Failures));
    json.Raw("update", update.Text());
    return result.Success && result.Report.Failures.empty() ? 0 : 1;
}

int FreeDBCommand(const TFreeDBArgs& a) {
    auto album = ReadAlbum("freedb", a.playlist);
    if (!album) return 1;
    const TSettings settings = ReadProgramSettings();
    TFreeDBUpdateOptions options;
    options.Server = {a.server.empty() ? settings.FreeDB : a.server,
                      settings.FreeDBLogin,
                      settings.FreeDBHostName,
                      {}};
    options.SearchAndTag = !a.noSearch;
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

CliRun DefineDiscId(CLI::App& command) {
    auto playlist = std::make_shared<std::string>();
    command.add_option("PLAYLIST", *playlist, "the album's playlist")->required();
    return [playlist] { return DiscIdCommand(*playlist); };
}

CliCommandRegistration discidRegistration{SoundCommand("discid", DefineDiscId)};
CliCommandRegistration freedbRegistration{SoundCommand("freedb", DefineFreeDB)};
}  // namespace
