#include "covers/Ucov_obj.h"

#include <unistd.h>

#include <climits>
#include <system_error>

#include "collection/UIo.h"
#include "collection/Um3u_obj.h"
#include "core/FileSystem.h"
#include "core/ProgramFolder.h"
#include "core/PumpEvents.h"
#include "core/SafeWrite.h"
#include "core/Ucommon.h"
#include "core/Ulang.h"
#include "covers/CoverKey.h"
#include "covers/Thumbnail.h"
#include "covers/Ucrc32.h"

namespace {

// Progress counters go back to rest when a read or write ends, however it ends.
struct ProgressReset {
    ~ProgressReset() { ProgressTotal = ProgressCount = 0; }
};

// The part of a buffer a cover names; "" when it lies outside the buffer.
std::string Slice(const std::string* buffer, int32_t offset, int32_t size) {
    if (!buffer || offset < 0 || size <= 0) return {};
    if (size_t(offset) + size_t(size) > buffer->size()) return {};
    return buffer->substr(size_t(offset), size_t(size));
}

}  // namespace

void TCoverDb::Clear() {
    Artists.Clear();
    Thumbnails.clear();
    MergeSource = nullptr;
}

size_t TCoverDb::CoverCount() const {
    size_t count = 0;
    for (const auto& [key, artist] : Artists) count += artist->Covers.Count();
    return count;
}

std::string TCoverDb::LoadDb(TLoadSave& stream) {
    ProgressReset reset;
    Clear();
    if (stream.ReadInteger() != kVersion)
        return LangText("IncorrectCdbFile",
                        "This CoversDB file is incorrect or the version is wrong ! Please export "
                        "your cover pictures again.");
    Quality = stream.ReadInteger();
    const int32_t artistCount = stream.ReadInteger();
    ProgressTotal = artistCount;
    ProgressCount = 1;
    int64_t running = 0;
    for (int32_t a = 0; a < artistCount; ++a) {
        ++ProgressCount;
        auto artist = std::make_unique<TArtist>();
        artist->Name = stream.ReadString();
        artist->Quality = Quality;
        const int32_t coverCount = stream.ReadInteger();
        for (int32_t c = 0; c < coverCount; ++c) {
            auto cover = std::make_unique<TCover>();
            cover->AlbumTitle = stream.ReadString();
            cover->Year = stream.ReadInteger();
            cover->Crc = stream.ReadInteger();
            cover->Size = stream.ReadInteger();
            cover->Quality = Quality;
            // A negative size, or offsets beyond what the format can address, are
            // damage, not data.
            if (cover->Size < 0 || running + cover->Size > INT32_MAX)
                throw EMyFileError("Could not read");
            cover->Offset = int32_t(running);
            running += cover->Size;
            const std::string coverKey = CoverKey(cover->AlbumTitle);
            artist->Covers.Add(coverKey, std::move(cover));
        }
        const std::string artistKey = CoverKey(artist->Name);
        Artists.Add(artistKey, std::move(artist));
        PumpEvents();
    }
    Thumbnails = stream.ReadBlock(size_t(running));
    return {};
}

void TCoverDb::SaveDb(TLoadSave& stream) {
    ProgressReset reset;
    ProgressTotal = int(Artists.Count());
    ProgressCount = 1;
    stream.WriteInteger(kVersion);
    stream.WriteInteger(Quality);
    stream.WriteInteger(int32_t(Artists.Count()));
    std::string fresh;
    fresh.reserve(Thumbnails.size());
    for (const auto& [artistKey, artist] : Artists) {
        ++ProgressCount;
        stream.WriteString(artist->Name);
        stream.WriteInteger(int32_t(artist->Covers.Count()));
        for (const auto& [coverKey, cover] : artist->Covers) {
            stream.WriteString(cover->AlbumTitle);
            stream.WriteInteger(cover->Year);
            if (cover->Source == kMergeSourceMark) {
                const std::string bytes = Slice(MergeSource, cover->Offset, cover->Size);
                if (bytes.empty()) cover->Crc = cover->Size = 0;
                fresh += bytes;
            } else if (!cover->Source.empty()) {
                cover->Crc = cover->Size = 0;
                if (FileExists(cover->Source)) cover->Crc = ThumbnailCrc(*cover, &fresh);
            } else {
                const std::string bytes = Slice(&Thumbnails, cover->Offset, cover->Size);
                if (bytes.empty()) cover->Crc = cover->Size = 0;
                fresh += bytes;
            }
            // Every thumbnail now lives in the new buffer, whatever its source was.
            cover->Source.clear();
            stream.WriteInteger(cover->Crc);
            stream.WriteInteger(cover->Size);
            cover->Offset = int32_t(fresh.size() - size_t(cover->Size));
        }
        PumpEvents();
    }
    stream.WriteBlock(fresh.data(), fresh.size());
    Thumbnails = std::move(fresh);
    MergeSource = nullptr;
}

TFoundCover TCoverDb::FindCover(const std::string& artist, const std::string& albumTitle) const {
    TFoundCover found;
    found.Artist = Artists.Find(CoverKey(artist));
    if (found.Artist) found.Cover = found.Artist->Covers.Find(CoverKey(albumTitle));
    return found;
}

int32_t TCoverDb::ThumbnailCrc(TCover& cover, std::string* target) {
    std::string thumbnail;
    if (!MakeThumbnail(cover.Source, thumbnail, cover.Quality)) {
        cover.Size = 0;
        return 0;
    }
    cover.Size = int32_t(thumbnail.size());
    if (target) *target += thumbnail;
    return Crc32Signed(thumbnail);
}

int TCoverDb::AddAlbumCover(const Tm3u* album, bool checkOnly, TCover** stored) {
    if (!album || album->PictureFile().empty()) return 0;
    TArtist* artist = Artists.Find(CoverKey(album->Artist));
    if (!artist) {
        auto created = std::make_unique<TArtist>();
        created->Name = album->Artist;
        created->Quality = Quality;
        artist = Artists.Add(CoverKey(album->Artist), std::move(created));
    }
    auto candidate = std::make_unique<TCover>();
    candidate->AlbumTitle = album->Album;
    candidate->Year = album->Year;
    candidate->Source = album->PictureFile();
    candidate->Quality = artist->Quality;

    const std::string key = CoverKey(album->Album);
    TCover* existing = artist->Covers.Find(key);
    if (!existing) {
        artist->Covers.Add(key, std::move(candidate));
        return 1;
    }
    if (!existing->Source.empty()) return 0;
    if (ThumbnailCrc(*candidate) == existing->Crc) return 0;
    if (stored) *stored = existing;
    if (!checkOnly) existing->Source = album->PictureFile();
    return 2;
}

std::string TCoverDb::CoverBytes(const TCover& cover) const {
    if (cover.Source.empty()) return Slice(&Thumbnails, cover.Offset, cover.Size);
    if (cover.Source == kMergeSourceMark) return Slice(MergeSource, cover.Offset, cover.Size);
    return {};
}

int TCoverDb::MergeDb(const TCoverDb& other, const TReplacePrompts& prompts) {
    int count = 0;
    TReplaceFlow flow(prompts,
                      LangText("WarningCoverOverwrite",
                               "Warning ! You will overwrite several cover pictures of "
                               "your local CoversDB without any confirmation ! Carry on ?"));
    auto takeOther = [](TCover& cover, const TCover& from) {
        cover.Year = from.Year;
        cover.AlbumTitle = from.AlbumTitle;
        cover.Crc = from.Crc;
        cover.Size = from.Size;
        cover.Offset = from.Offset;
        cover.Source = kMergeSourceMark;
    };
    bool stopped = false;
    for (const auto& [otherArtistKey, otherArtist] : other.Artists) {
        for (const auto& [otherCoverKey, otherCover] : otherArtist->Covers) {
            PumpEvents();
            TArtist* artist = Artists.Find(otherArtistKey);
            if (!artist) {
                auto created = std::make_unique<TArtist>();
                created->Name = otherArtist->Name;
                created->Quality = Quality;
                artist = Artists.Add(otherArtistKey, std::move(created));
            }
            TCover* cover = artist->Covers.Find(otherCoverKey);
            if (!cover) {
                auto added = std::make_unique<TCover>();
                added->Quality = Quality;
                takeOther(*added, *otherCover);
                artist->Covers.Add(otherCoverKey, std::move(added));
                ++count;
                continue;
            }
            if (cover->Crc == otherCover->Crc) continue;
            // A named reference: clang before 16 cannot capture a structured binding.
            const TCover& offered = *otherCover;
            const auto step = flow.Decide([&] {
                return TReplaceOffer{artist->Name, cover->AlbumTitle, CoverBytes(*cover),
                                     other.CoverBytes(offered)};
            });
            if (step == TReplaceFlow::TStep::End) {
                stopped = true;
                break;
            }
            if (step == TReplaceFlow::TStep::Replace) {
                takeOther(*cover, *otherCover);
                ++count;
            }
        }
        if (stopped) break;
    }
    MergeSource = &other.Thumbnails;
    return count;
}

TCdbReadResult ReadCoverDbFile(const std::string& path, TCoverDb& db) {
    TCdbReadResult result;
    if (!FileExists(path)) return result;
    try {
        TLoadSave stream;
        stream.OpenRead(path);
        result.message = db.LoadDb(stream);
        stream.Finish();
        result.read = result.message.empty();
    } catch (const std::exception& e) {
        result.error = e.what();
    }
    return result;
}

std::string WriteCoverDbFile(const std::string& path, TCoverDb& db, bool keepBackup) {
    try {
        TLoadSave stream;
        stream.OpenWrite(path);
        db.SaveDb(stream);
        if (keepBackup) KeepBackupCopy(path);
        stream.Finish();
    } catch (const std::exception& e) {
        return e.what();
    }
    return {};
}

std::string LocalCoverDbPath() {
    return ProgramFolder() + "mavelo.cdb";
}

bool IsLocalCoverDbName(const std::string& path) {
    return LowerAscii(ExtractFileName(path)) == "mavelo.cdb";
}
