#include "covers/CoverTransfer.h"

#include "collection/Udir_obj.h"
#include "collection/Um3u_obj.h"
#include "core/FileSystem.h"
#include "core/PumpEvents.h"
#include "core/Ulang.h"
#include "covers/AlbumPicture.h"
#include "covers/Thumbnail.h"
#include "covers/Ucov_obj.h"
#include "covers/Ucrc32.h"

namespace {

struct ProgressReset {
    ~ProgressReset() { ProgressTotal = ProgressCount = 0; }
};

bool HasExistingPicture(const Tm3u& album) {
    const std::string picture = album.PictureFile();
    return !picture.empty() && FileExists(picture);
}

}  // namespace

int ExportAlbumCovers(const TDirectory& directory, TCoverDb& db, const TReplacePrompts& prompts) {
    ProgressReset reset;
    ProgressTotal = int(directory.List.Count());
    ProgressCount = 0;
    int count = 0;
    TReplaceFlow flow(prompts, LangText("WarningCoverOverwrite",
                                        "Warning ! You will overwrite several cover pictures of "
                                        "your local CoversDB without any new confirmation ! "
                                        "Carry on ?"));
    for (const auto& entry : directory.List) {
        const Tm3u& album = *entry.object;
        if (!HasExistingPicture(album)) continue;
        PumpEvents();
        ++ProgressCount;
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

void AddAllAlbumCovers(const TDirectory& directory, TCoverDb& db) {
    for (const auto& entry : directory.List) {
        PumpEvents();
        db.AddAlbumCover(entry.object, false);
    }
}

int ImportCovers(TDirectory& directory, bool coverlessOnly, const TCoverDb& db, const Tm3u* only,
                 const TReplacePrompts& prompts) {
    ProgressReset reset;
    ProgressTotal = int(directory.List.Count());
    int count = 0;
    TReplaceFlow flow(prompts, LangText("WarningPictureOverwrite",
                                        "Warning ! You may overwrite several cover picture files "
                                        "without any new confirmation ! Carry on ?"));
    for (size_t i = 0; i < directory.List.Count(); ++i) {
        PumpEvents();
        ProgressCount = int(i);
        Tm3u& album = directory.List[i];
        if (only && only != &album) continue;
        const std::string picture = album.PictureFile();
        if (coverlessOnly && !picture.empty()) continue;
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
        const auto step = flow.Decide([&] {
            return TReplaceOffer{album.Artist, album.Album, current, offered};
        });
        if (step == TReplaceFlow::TStep::End) break;
        if (step == TReplaceFlow::TStep::Replace &&
            SetPicture(album, PictureFromJpeg, {}, offered) == PictureDone)
            ++count;
    }
    return count;
}
