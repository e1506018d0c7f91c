// mavelo-cli tags: prints the tag values of audio files as JSON, one object
// per line, or writes tags into them.
#include <sys/stat.h>

#include <CLI/App.hpp>
#include <CLI/Validators.hpp>
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/Json.h"
#include "collection/Ump3_obj.h"
#include "core/FileSystem.h"
#include "core/Ucommon.h"
#include "tags/AudioFile.h"

namespace {

const char* TagKindName(TTagKind kind) {
    switch (kind) {
        case TTagKind::None:
            return "none";
        case TTagKind::ID3v1:
            return "id3v1";
        case TTagKind::ID3v2:
            return "id3v2";
        case TTagKind::OggVorbis:
            return "vorbis";
        case TTagKind::WMA:
            return "wma";
        case TTagKind::Flac:
            return "flac";
        case TTagKind::Opus:
            return "opus";
        case TTagKind::Mp4:
            return "mp4";
    }
    return "unknown";
}

// What the track's own reader knows beyond the track fields.
void AddReaderValues(TJsonObject& json, const TTrackTags& tags) {
    if (tags.trackNumber) json.Add("track", int64_t{*tags.trackNumber});
    if (tags.comment) json.Add("comment", *tags.comment);
    if (tags.seconds) json.Add("duration", *tags.seconds);
    if (tags.readerBitrate) json.Add("bitrate", int64_t{*tags.readerBitrate});
}

std::string TrackJson(const Tmp3& track, const TTrackTags& tags) {
    TJsonObject json;
    json.Add("file", track.Path);
    AddTagValues(json, track);
    json.Add("tagKind", int64_t{static_cast<int32_t>(track.TagKind)});
    json.Add("tag", TagKindName(track.TagKind));
    AddReaderValues(json, tags);
    return json.Text();
}

// The track as the file's tag gives it, printed.
void PrintTrack(const std::string& path, const TTagFile& file) {
    Tmp3 track(path);
    const TTrackTags tags = file.Read();
    track.TakeTags(tags);
    std::cout << TrackJson(track, tags) << "\n";
}

// The file's problem for this command, or "" when it can be handled.
std::string FileProblem(const std::string& path, bool writing) {
    if (!FileExists(path)) {
        struct stat st {};
        return stat(path.c_str(), &st) == 0 ? "not a regular file" : "no such file";
    }
    const auto file = OpenTagFile(path);
    if (!file) return "unsupported file type";
    if (writing && !file->Writable()) return "files of this kind cannot be written";
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
        if (const auto file = OpenTagFile(path)) PrintTrack(path, *file);
    }
    return status;
}

struct TTagsOptions {
    std::vector<std::string> files;
    bool write = false;
    std::string type = "id3v2";
    std::map<std::string, std::string> values;  // by option name, only those given
    std::optional<int> year;
};

const std::map<std::string, TId3Choice> kTagTypes = {
    {"id3v2", TId3Choice::V2}, {"id3v1", TId3Choice::V1}, {"both", TId3Choice::Both}};

int WriteTags(const TTagsOptions& options) {
    const auto& values = options.values;
    const auto type = kTagTypes.find(options.type);
    const auto& year = options.year;
    int status = 0;
    for (const std::string& path : options.files) {
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
        const TTagValues newValues{valueOr("--title", track.Title),
                                   valueOr("--artist", track.Artist),
                                   valueOr("--album", track.Album), valueOr("--genre", track.Genre),
                                   year.value_or(track.Year)};
        const TWriteResult written = track.WriteTags(type->second, newValues);
        if (!written) {
            ReportProblem(path, "could not write the tags: " + written.Text());
            status = 1;
            continue;
        }
        if (const auto file = OpenTagFile(path)) PrintTrack(path, *file);
    }
    return status;
}

CliRun DefineTags(CLI::App& command) {
    auto options = std::make_shared<TTagsOptions>();
    command.add_option("FILE", options->files, "the audio files")->required();
    auto write = command.add_flag("--write", options->write,
                                  "write the values given (the others stay as they are)");
    command.add_option("--type", options->type, "the tags written to MP3 files")
        ->check(CLI::IsMember({"id3v2", "id3v1", "both"}))
        ->needs(write);
    for (const char* name : {"--artist", "--album", "--title", "--genre"})
        command
            .add_option_function<std::string>(
                name, [options, name](const std::string& value) { options->values[name] = value; },
                std::string("the ") + (name + 2) + " to write")
            ->type_name("TEXT")
            ->needs(write);
    const CLI::Validator yearNumber(
        [](std::string& text) {
            int number = 0;
            return text.empty() || TryStrToInt(text, number) ? std::string()
                                                             : "not a number: " + text;
        },
        "YEAR");
    command
        .add_option_function<std::string>(
            "--year",
            [options](const std::string& text) {
                int number = 0;
                if (!text.empty()) TryStrToInt(text, number);
                options->year = number;
            },
            "the year to write (empty for none)")
        ->check(yearNumber)
        ->needs(write);
    return [options] { return options->write ? WriteTags(*options) : PrintTags(options->files); };
}

const CliCommandRegistration registration{
    {"tags",
     "prints the tag values of MP3, Ogg Vorbis, WMA, FLAC, Opus and MP4 (M4A) files as JSON (one object per line), "
     "or writes tags",
     DefineTags}};

}  // namespace
