#include "collection/AlbumRenames.h"

#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <set>
#include <system_error>

#include "collection/Um3u_obj.h"
#include "core/FileSystem.h"
#include "core/ProgramFolder.h"
#include "core/SafeWrite.h"
#include "core/Ucommon.h"
#include "tags/AudioFile.h"

namespace {
constexpr const char* kJournalPrefix = "mavelo-renames-";
constexpr const char* kJournalSuffix = ".journal";
constexpr const char* kJournalMagic = "mavelo album renames 1";

struct TStep {
    std::string from, to;
};

// The whole change: the renames in the order they are done, then the
// playlist written at its final path.
struct TPlan {
    std::vector<TStep> steps;
    std::string playlist;  // the final path
    std::string bytes;     // its contents (not kept in the journal)
    std::string fingerprint;  // of the contents, in the journal
    std::string stale;     // the playlist of another format, removed at the end ("" none)
};

bool Exists(const std::string& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}

TFailure Failure(const std::string& reason, const std::string& file, int error) {
    return TFailure::Of(reason, file, error);
}

// ---- The journal: length-prefixed fields, so any byte may be in a path ----

// Tells the new playlist from the old one.  The journal keeps this rather
// than the contents, so that it stays small (on a nearly full disk it is
// written before anything changes).
std::string Fingerprint(std::string_view bytes) {
    uint64_t hash = 14695981039346656037ull;  // 64-bit FNV-1a
    for (unsigned char c : bytes) hash = (hash ^ c) * 1099511628211ull;
    char text[48];
    std::snprintf(text, sizeof text, "%zu:%016llx", bytes.size(),
                  static_cast<unsigned long long>(hash));
    return text;
}

void PutField(std::string& out, std::string_view field) {
    out += std::to_string(field.size());
    out += '\n';
    out += field;
    out += '\n';
}

std::string JournalText(const TPlan& plan) {
    std::string text;
    PutField(text, kJournalMagic);
    PutField(text, plan.playlist);
    PutField(text, Fingerprint(plan.bytes));
    PutField(text, plan.stale);
    for (const auto& step : plan.steps) {
        PutField(text, step.from);
        PutField(text, step.to);
    }
    return text;
}

bool TakeField(std::string_view& in, std::string& field) {
    const size_t newline = in.find('\n');
    if (newline == std::string_view::npos || newline == 0 || newline > 19) return false;
    size_t length = 0;
    for (char c : in.substr(0, newline)) {
        if (c < '0' || c > '9') return false;
        length = length * 10 + size_t(c - '0');
    }
    in.remove_prefix(newline + 1);
    if (in.size() < length + 1 || in[length] != '\n') return false;
    field.assign(in.substr(0, length));
    in.remove_prefix(length + 1);
    return true;
}

std::optional<TPlan> ParseJournal(std::string_view in) {
    TPlan plan;
    std::string magic;
    if (!TakeField(in, magic) || magic != kJournalMagic || !TakeField(in, plan.playlist) ||
        !TakeField(in, plan.fingerprint) || !TakeField(in, plan.stale))
        return std::nullopt;
    while (!in.empty()) {
        TStep step;
        if (!TakeField(in, step.from) || !TakeField(in, step.to)) return std::nullopt;
        plan.steps.push_back(std::move(step));
    }
    return plan;
}

std::string JournalPath(const std::string& folder) {
    const std::string base = folder.empty() ? ProgramFolder() : folder;
    return base + kJournalPrefix + std::to_string(getpid()) + kJournalSuffix;
}

// ---- Undoing ----

// Puts back the first `count` renames, last first.  A rename that is not
// there to undo (a kill came before it) is passed over.
TResult<void> Undo(const std::vector<TStep>& steps, size_t count) {
    for (size_t i = count; i-- > 0;) {
        const TStep& step = steps[i];
        if (!Exists(step.to) || Exists(step.from)) continue;
        if (!RenameWithoutReplacing(step.to, step.from))
            return Failure("cannot rename back", step.to, errno);
    }
    return {};
}

// ---- Planning: the new names, decided before anything changes ----

class TPlanner {
  public:
    TPlanner(Tm3u& album, const TAlbumRenameOptions& options, TAlbumRenameResult& result)
        : album_(album), options_(options), skipped_(result.Skipped) {}

    TResult<TPlan> Plan(TPlaylistType format) {
        if (options_.RenamePlaylist) PlanPlaylist();
        if (options_.RenameFiles) PlanTracks();
        if (options_.RenameFolder) PlanFolder();
        plan_.playlist = album_.PlaylistPathIn(format);
        if (plan_.playlist.empty())
            return Failure("no playlist format for", album_.PlaylistPath.str(), 0);
        if (plan_.playlist != album_.PlaylistPath.view()) {
            // Another album's playlist of that name is never overwritten.
            if (Exists(plan_.playlist))
                return Failure("cannot replace another playlist:", plan_.playlist, EEXIST);
            plan_.stale = album_.PlaylistPath.str();
        }
        plan_.bytes = album_.PlaylistBytes(format, plan_.playlist);
        album_.PlaylistPath = plan_.playlist;
        return std::move(plan_);
    }

  private:
    // A name taken on disk or by an earlier step of this change.
    bool Taken(const std::string& path) const { return Exists(path) || targets_.count(path); }

    void Add(const std::string& from, const std::string& to) {
        plan_.steps.push_back({from, to});
        targets_.insert(to);
    }

    void PlanPlaylist() {
        const std::string folder = ExtractFilePath(album_.PlaylistPath);
        const std::string name = album_.FormatAlbumName(options_.ListFormat);
        const std::string newPath = folder + name + ExtractFileExt(album_.PlaylistPath);
        if (newPath == album_.PlaylistPath.view()) return;
        if (Taken(newPath)) {
            skipped_.push_back(Failure("cannot rename", album_.PlaylistPath.str(), EEXIST));
            return;
        }
        // The picture goes with the playlist or neither moves: the album would
        // otherwise show another album's picture, or lose its own.
        const std::string picture = PicturePathFor(album_.PlaylistPath);
        const std::string newPicture = folder + name + ".jpg";
        const bool hasPicture = FileExists(picture);
        if (hasPicture && Taken(newPicture)) {
            skipped_.push_back(Failure("cannot rename", picture, EEXIST));
            return;
        }
        Add(album_.PlaylistPath.str(), newPath);
        if (hasPicture) Add(picture, newPicture);
        album_.DropCachedCover();
        album_.PlaylistPath = newPath;
    }

    void PlanTracks() {
        for (size_t i = 0; i < album_.Tracks.Count(); ++i) {
            Tmp3& track = album_.Tracks[i];
            // Only MP3 files take the track format; the others keep their names.
            if (AudioKindOf(track.Path) != TAudioKind::Mp3) continue;
            const std::string name =
                SafeFileName(FormatTrackName(track, static_cast<int>(i) + 1, options_.TrackFormat));
            const std::string newPath =
                ExtractFilePath(track.Path) + name + ExtractFileExt(track.Path);
            if (newPath == track.Path.view()) continue;
            if (!FileExists(track.Path)) {
                skipped_.push_back(Failure("cannot rename", track.Path.str(), ENOENT));
                continue;
            }
            if (Taken(newPath)) {
                skipped_.push_back(Failure("cannot rename", track.Path.str(), EEXIST));
                continue;
            }
            Add(track.Path.str(), newPath);
            track.Path = newPath;
            album_.RekeyTrack(track);
        }
    }

    void PlanFolder() {
        const std::string folder = ExtractFilePath(album_.PlaylistPath);
        const std::string oldFolder = ExcludeTrailingSeparator(folder);
        const std::string parent = ExtractFilePath(oldFolder);
        const std::string newFolder = parent + album_.FormatAlbumName(options_.ListFormat);
        if (newFolder == oldFolder) return;
        // A folder shared by several albums is never renamed.
        if (CountPlaylists(folder) > 1) {
            skipped_.push_back(Failure("other albums share the folder", oldFolder, 0));
            return;
        }
        if (parent.empty() || oldFolder == "/") {
            skipped_.push_back(Failure("cannot rename the root folder", oldFolder, 0));
            return;
        }
        if (Taken(newFolder)) {
            skipped_.push_back(Failure("cannot rename", oldFolder, EEXIST));
            return;
        }
        Add(oldFolder, newFolder);
        album_.ReplaceFolder(oldFolder, newFolder);
    }

    Tm3u& album_;
    const TAlbumRenameOptions& options_;
    std::vector<TFailure>& skipped_;
    TPlan plan_;
    std::set<std::string> targets_;
};

// The album's paths, to put back in memory when the change fails.
struct TAlbumPaths {
    std::string playlist;
    std::vector<std::string> tracks;
    std::string cachedCover;

    explicit TAlbumPaths(const Tm3u& album)
        : playlist(album.PlaylistPath.str()), cachedCover(album.CachedCover) {
        for (size_t i = 0; i < album.Tracks.Count(); ++i)
            tracks.push_back(album.Tracks[i].Path.str());
    }
    void Restore(Tm3u& album) const {
        album.PlaylistPath = playlist;
        album.CachedCover = cachedCover;
        for (size_t i = 0; i < album.Tracks.Count() && i < tracks.size(); ++i) {
            album.Tracks[i].Path = tracks[i];
            album.RekeyTrack(album.Tracks[i]);
        }
    }
};

// ---- Doing ----

TResult<void> Carry(const TPlan& plan, const std::string& journal) {
    if (auto written = WriteFileSafely(journal, JournalText(plan)); !written)
        return Failure("cannot write the journal of the renames", journal, written.error);
    for (size_t k = 0; k < plan.steps.size(); ++k) {
        if (RenameWithoutReplacing(plan.steps[k].from, plan.steps[k].to)) continue;
        const TFailure failed = Failure("cannot rename", plan.steps[k].from, errno);
        if (!Undo(plan.steps, k)) return failed;  // the journal stays for the next start
        unlink(journal.c_str());
        return failed;
    }
    if (auto written = WriteFileSafely(plan.playlist, plan.bytes); !written) {
        const TFailure failed = Failure(written.reason, written.file, written.error);
        if (Undo(plan.steps, plan.steps.size())) unlink(journal.c_str());
        return failed;
    }
    // The new playlist is in place: the change is done.
    if (!plan.stale.empty()) unlink(plan.stale.c_str());
    unlink(journal.c_str());
    return {};
}

// A journal of a program that is still running is its own business.
bool OwnerRunning(const std::string& name) {
    const std::string number = name.substr(
        std::string_view(kJournalPrefix).size(),
        name.size() - std::string_view(kJournalPrefix).size() - std::string_view(kJournalSuffix).size());
    const long pid = StrToIntOrZero(number);
    if (pid <= 0) return false;
    if (pid == getpid()) return false;
    return kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

TResult<void> Settle(const std::string& journal) {
    std::string text;
    try {
        text = ReadWholeFile(journal);
    } catch (const std::system_error& e) {
        return Failure("cannot read", journal, e.code().value());
    }
    const auto plan = ParseJournal(text);
    if (!plan) return Failure("not a journal of renames:", journal, 0);
    std::string playlist;
    try {
        playlist = Fingerprint(ReadWholeFile(plan->playlist));
    } catch (const std::system_error&) {
    }
    // The renames are done in order: the last one done means all were.
    const bool allDone = plan->steps.empty() ||
                         (Exists(plan->steps.back().to) && !Exists(plan->steps.back().from));
    if (allDone && playlist == plan->fingerprint) {
        if (!plan->stale.empty() && plan->stale != plan->playlist) unlink(plan->stale.c_str());
    } else if (auto undone = Undo(plan->steps, plan->steps.size()); !undone) {
        return undone;
    }
    unlink(journal.c_str());
    return {};
}
}  // namespace

TResult<TAlbumRenameResult> RenameAndWriteAlbum(Tm3u& album, const TAlbumRenameOptions& options,
                                                TPlaylistType format) {
    const TAlbumPaths before(album);
    TAlbumRenameResult result;
    auto plan = TPlanner(album, options, result).Plan(format);
    if (!plan) {
        before.Restore(album);
        return plan.Failure();
    }
    if (plan->steps.empty() && plan->stale.empty()) {
        // One file written whole: nothing to journal.
        if (auto written = WriteFileSafely(plan->playlist, plan->bytes); !written) {
            before.Restore(album);
            return Failure(written.reason, written.file, written.error);
        }
        return result;
    }
    if (auto carried = Carry(*plan, JournalPath(options.JournalFolder)); !carried) {
        before.Restore(album);
        return carried.Failure();
    }
    return result;
}

std::vector<TFailure> CompleteAlbumRenames(const std::string& journalFolder) {
    std::vector<TFailure> failures;
    const std::string folder = journalFolder.empty() ? ProgramFolder() : journalFolder;
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) return failures;
    std::vector<std::string> journals;
    while (const dirent* entry = readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name.starts_with(kJournalPrefix) && name.ends_with(kJournalSuffix))
            journals.emplace_back(name);
    }
    closedir(dir);
    for (const auto& name : journals) {
        if (OwnerRunning(name)) continue;
        if (auto settled = Settle(folder + name); !settled) failures.push_back(settled.Failure());
    }
    return failures;
}
