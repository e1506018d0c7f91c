// mavelo-cli tags: prints the tag values of audio files as JSON, one object
// per line, or writes tags into them.
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/Json.h"
#include "collection/Ump3_obj.h"
#include "core/FileSystem.h"
#include "core/Ucommon.h"
#include "tags/ID3v1.h"
#include "tags/ID3v2.h"
#include "tags/OggVorbis.h"
#include "tags/WMAfile.h"

namespace {

const char* TagKindName(int32_t kind) {
    static const char* const names[] = {"none", "id3v1", "id3v2", "vorbis", "wma"};
    return kind >= TagNone && kind <= TagWMA ? names[kind] : "unknown";
}

// What the track's own reader knows beyond the track fields.
void AddReaderValues(TJsonObject& json, const Tmp3& track) {
    const std::string kind = TrackFileKind(track.Path);
    if (kind == "mp3") {
        TID3v2 v2;
        TID3v1 v1;
        if (track.TagKind == TagID3v2 && v2.Load(track.Path)) {
            json.Add("track", int64_t{v2.Track});
            json.Add("comment", v2.Comment);
        } else if (track.TagKind == TagID3v1 && v1.Load(track.Path)) {
            json.Add("track", int64_t{v1.Track});
            json.Add("comment", v1.Comment);
        }
    } else if (kind == "ogg") {
        TOggVorbis ogg;
        if (!ogg.Load(track.Path)) return;
        json.Add("track", int64_t{ogg.Track});
        json.Add("comment", ogg.Comment);
        json.Add("duration", ogg.Duration());
        json.Add("bitrate", int64_t{ogg.BitRate()});
    } else if (kind == "wma") {
        TWMAfile wma;
        if (!wma.Load(track.Path) || !wma.Valid) return;
        json.Add("track", int64_t{wma.Track});
        json.Add("comment", wma.Comment);
        json.Add("duration", wma.Duration);
        json.Add("bitrate", int64_t{wma.BitRate});
    }
}

std::string TrackJson(const Tmp3& track) {
    TJsonObject json;
    json.Add("file", track.Path);
    AddTagValues(json, track);
    json.Add("tagKind", int64_t{track.TagKind});
    json.Add("tag", TagKindName(track.TagKind));
    AddReaderValues(json, track);
    return json.Text();
}

// The file's problem for this command, or "" when it can be handled.
std::string FileProblem(const std::string& path, bool writing) {
    if (!FileExists(path)) return "no such file";
    const std::string kind = TrackFileKind(path);
    if (kind != "mp3" && kind != "ogg" && kind != "wma") return "unsupported file type";
    if (writing && kind == "wma") return "WMA files cannot be written";
    return {};
}

bool ReportProblem(const std::string& path, const std::string& problem) {
    if (problem.empty()) return false;
    std::cerr << "mavelo-cli tags: " << path << ": " << problem << "\n";
    return true;
}

int PrintTags(const std::vector<std::string>& files) {
    int status = 0;
    for (const std::string& path : files) {
        if (ReportProblem(path, FileProblem(path, false))) {
            status = 1;
            continue;
        }
        Tmp3 track(path);
        track.ReadTags();
        std::cout << TrackJson(track) << "\n";
    }
    return status;
}

int Usage(const std::string& problem) {
    std::cerr << "mavelo-cli tags: " << problem << "\n"
              << "usage: mavelo-cli tags FILE...\n"
                 "       mavelo-cli tags --write --type id3v2|id3v1|both [--artist A] [--album B]"
                 " [--title T] [--genre G] [--year Y] FILE...\n";
    return 2;
}

int WriteTags(const std::vector<std::string>& args) {
    std::map<std::string, std::string> values = {{"--type", "id3v2"}};
    size_t i = 1;
    for (; i < args.size() && args[i].starts_with("--"); i += 2) {
        if (args[i] == "--") {
            ++i;
            break;
        }
        static const std::vector<std::string> known = {"--type",  "--artist", "--album",
                                                       "--title", "--genre",  "--year"};
        if (std::find(known.begin(), known.end(), args[i]) == known.end())
            return Usage("unknown option " + args[i]);
        if (i + 1 >= args.size()) return Usage(args[i] + " needs a value");
        values[args[i]] = args[i + 1];
    }
    static const std::map<std::string, int32_t> types = {
        {"id3v2", TagTypeId3v2}, {"id3v1", TagTypeId3v1}, {"both", TagTypeBoth}};
    auto type = types.find(values["--type"]);
    if (type == types.end()) return Usage("--type must be id3v2, id3v1 or both");
    std::optional<int> year;
    if (values.contains("--year")) {
        int number = 0;
        if (!values["--year"].empty() && !TryStrToInt(values["--year"], number))
            return Usage("--year must be a number");
        year = number;
    }
    if (i >= args.size()) return Usage("no files given");

    int status = 0;
    for (; i < args.size(); ++i) {
        const std::string& path = args[i];
        if (ReportProblem(path, FileProblem(path, true))) {
            status = 1;
            continue;
        }
        // A value not given on the command line keeps the one the file has.
        Tmp3 track(path);
        track.ReadTags();
        auto valueOr = [&](const std::string& option, const std::string& current) {
            auto given = values.find(option);
            return given != values.end() ? given->second : current;
        };
        const TWriteResult written =
            track.WriteTags(type->second, valueOr("--artist", track.Artist),
                            year.value_or(track.Year), valueOr("--title", track.Title),
                            valueOr("--genre", track.Genre), valueOr("--album", track.Album));
        if (!written) {
            ReportProblem(path, "could not write the tags: " + written.Text());
            status = 1;
            continue;
        }
        std::cout << TrackJson(track) << "\n";
    }
    return status;
}

int RunTags(const std::vector<std::string>& args) {
    if (args.empty()) return Usage("no files given");
    if (args[0] == "--write") return WriteTags(args);
    return PrintTags(args);
}

const CliCommandRegistration registration{PassThroughCommand(
    "tags",
    "tags FILE... | tags --write --type id3v2|id3v1|both [--artist A] [--album B] [--title T] "
    "[--genre G] [--year Y] FILE...",
    "prints the tag values of MP3, Ogg Vorbis and WMA files as JSON (one object per line), "
    "or writes tags",
    RunTags)};

}  // namespace
