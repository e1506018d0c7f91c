#include "covers/CoverTransfer.h"

#include "collection/Udir_obj.h"
#include "collection/Um3u_obj.h"
#include "core/FileSystem.h"
#include "core/Progress.h"
#include "core/PumpEvents.h"
#include "core/SafeWrite.h"
#include "core/Ulang.h"
#include "covers/AlbumPicture.h"
#include "covers/Thumbnail.h"
#include "covers/Ucov_obj.h"
#include "covers/Ucrc32.h"

namespace {

bool HasExistingPicture(const Tm3u& album) {
    const std::string picture = album.PictureFile();
    return !picture.empty() && FileExists(picture);
}

void StartCounting(TProgress* progress, size_t total) {
    if (!progress) return;
    progress->SetTotal(int64_t(total));
    progress->SetDone(0);
}

// Between albums: the window repaints, and a request to stop ends the loop.
bool NextAlbum(TProgress* progress) {
    PumpEvents();
    if (!progress) return true;
    progress->Advance();
    return !progress->CancelRequested();
}

// Keeps the picture file about to be replaced as "NAME.bak" beside it; a
// copy that cannot be made stops the replacement.
TResult<void> KeepPictureCopy(const std::string& picture) {
    std::string bytes;
    try {
        bytes = ReadWholeFile(picture);
    } catch (const std::system_error& e) {
        return TFailure::Of("Could not read file", picture, e.code().value());
    }
    const TWriteResult copy = WriteFileSafely(picture + ".bak", bytes);
    if (!copy)
        return TFailure{copy.file.empty() ? picture + ".bak" : copy.file, "Could not write file",
                        copy.systemMessage, copy.error};
    return TResult<void>::Success();
}

}  // namespace

int ExportAlbumCovers(const TDirectory& directory, TCoverDb& db, const TReplacePrompts& prompts,
                      TProgress* progress) {
    StartCounting(progress, directory.List.Count());
    int count = 0;
    TReplaceFlow flow(prompts, LangText("WarningCoverOverwrite",
                                        "Warning ! You will overwrite several cover pictures of "
                                        "your local CoversDB without any new confirmation ! "
                                        "Carry on ?"));
    for (const auto& entry : directory.List) {
        if (!NextAlbum(progress)) break;
        const Tm3u& album = *entry.object;
        if (!HasExistingPicture(album)) continue;
        TCover* stored = nullptr;
        const int found = db.AddAlbumCover(&album, true, &stored);
        if (found == 1) ++count;
        if (found != 2) continue;
        const auto step = flow.Decide([&] {
            std::string offered;
            try {
                offered = ReadWholeFile(album.PictureFile());
            } catch (const std::exception&) {
            }
            return TReplaceOffer{album.Artist, album.Album, db.CoverBytes(*stored), offered};
        });
        if (step == TReplaceFlow::TStep::End) break;
        if (step == TReplaceFlow::TStep::Replace) {
            db.AddAlbumCover(&album, false);
            ++count;
        }
    }
    return count;
}

void AddAllAlbumCovers(const TDirectory& directory, TCoverDb& db, TProgress* progress) {
    StartCounting(progress, directory.List.Count());
    for (const auto& entry : directory.List) {
        if (!NextAlbum(progress)) break;
        db.AddAlbumCover(entry.object, false);
    }
}

TCoverImport ImportCovers(TDirectory& directory, const TImportScope& scope, const TCoverDb& db,
                          const TReplacePrompts& prompts, TProgress* progress) {
    StartCounting(progress, directory.List.Count());
    TCoverImport result;
    TReplaceFlow flow(prompts, LangText("WarningPictureOverwrite",
                                        "Warning ! You may overwrite several cover picture files "
                                        "without any new confirmation ! Carry on ?"));
    for (size_t i = 0; i < directory.List.Count(); ++i) {
        if (!NextAlbum(progress)) break;
        Tm3u& album = directory.List[i];
        if (scope.Only && scope.Only != &album) continue;
        const std::string picture = album.PictureFile();
        if (scope.CoverlessOnly && !picture.empty()) continue;
        const TFoundCover found = db.FindCover(album.Artist, album.Album);
        if (!found.Cover) continue;
        std::string current;
        if (!picture.empty()) {
            MakeThumbnail(picture, current, db.Quality);
            if (Crc32Signed(current) == found.Cover->Crc && !current.empty()) continue;
        }
        const std::string offered = db.CoverBytes(*found.Cover);
        // A cover without a thumbnail has nothing to give.
        if (offered.empty()) continue;
        // The file itself decides, not the album's picture state: a picture
        // the last scan did not see is the user's file all the same.
        const std::string target = PicturePathFor(album.PlaylistPath);
        const bool exists = FileExists(target);
        if (exists && scope.Existing == TExistingPicture::Keep) {
            ++result.Kept;
            continue;
        }
        const auto step = flow.Decide([&] {
            return TReplaceOffer{album.Artist, album.Album, current, offered};
        });
        if (step == TReplaceFlow::TStep::End) break;
        if (step != TReplaceFlow::TStep::Replace) continue;
        if (exists && scope.Existing == TExistingPicture::ReplaceKeepingCopy) {
            if (auto copied = KeepPictureCopy(target); !copied) {
                result.Failures.push_back(copied.Failure());
                continue;
            }
        }
        TFailure failure;
        const int set = SetPicture(album, PictureFromJpeg, {}, offered, {}, &failure);
        if (set == PictureDone)
            ++result.Count;
        else if (set == PictureNotWritten)
            result.Failures.push_back(failure);
    }
    return result;
}
