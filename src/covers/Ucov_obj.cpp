#include "covers/Ucov_obj.h"

#include <unistd.h>

#include <algorithm>
#include <climits>
#include <system_error>

#include "collection/UIo.h"
#include "collection/Um3u_obj.h"
#include "core/FileSystem.h"
#include "core/ProgramFolder.h"
#include "core/Progress.h"
#include "core/SafeWrite.h"
#include "core/Ucommon.h"
#include "core/Ulang.h"
#include "covers/CoverKey.h"
#include "covers/Thumbnail.h"
#include "covers/Ucrc32.h"

namespace {

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

std::string TCoverDb::LoadDb(TLoadSave& stream, TProgress* progress) {
    Clear();
    if (stream.ReadInteger() != kVersion)
        return LangText("IncorrectCdbFile",
                        "This CoversDB file is incorrect or the version is wrong ! Please export "
                        "your cover pictures again.");
    Quality = stream.ReadInteger();
    const int32_t artistCount = stream.ReadInteger();
    if (progress) {
        progress->SetTotal(std::max(artistCount, 0));
        progress->SetDone(0);
    }
    int64_t running = 0;
    for (int32_t a = 0; a < artistCount; ++a) {
        if (progress) progress->Advance();
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
    }
    Thumbnails = stream.ReadBlock(size_t(running));
    return {};
}

TSavedDb TCoverDb::SaveDb(TLoadSave& stream, TProgress* progress) const {
    if (progress) {
        progress->SetTotal(int64_t(Artists.Count()));
        progress->SetDone(0);
    }
    stream.WriteInteger(kVersion);
    stream.WriteInteger(Quality);
    stream.WriteInteger(int32_t(Artists.Count()));
    TSavedDb saved;
    saved.Thumbnails.reserve(Thumbnails.size());
    std::string& fresh = saved.Thumbnails;
    for (const auto& [artistKey, artist] : Artists) {
        if (progress) progress->Advance();
        stream.WriteString(artist->Name);
        stream.WriteInteger(int32_t(artist->Covers.Count()));
        for (const auto& [coverKey, cover] : artist->Covers) {
            stream.WriteString(cover->AlbumTitle);
            stream.WriteInteger(cover->Year);
            TSavedDb::TPlace place{cover->Crc, cover->Size, int32_t(fresh.size())};
            if (const std::string picture = cover->PicturePath(); !picture.empty()) {
                place.Crc = place.Size = 0;
                if (FileExists(picture)) place.Crc = ThumbnailCrc(*cover, place.Size, &fresh);
            } else {
                const std::string bytes =
                    Slice(cover->InThumbnails() ? &Thumbnails : MergeSource, cover->Offset,
                          cover->Size);
                if (bytes.empty()) place.Crc = place.Size = 0;
                fresh += bytes;
            }
            stream.WriteInteger(place.Crc);
            stream.WriteInteger(place.Size);
            saved.Covers.push_back(place);
        }
    }
    stream.WriteBlock(fresh.data(), fresh.size());
    return saved;
}

void TCoverDb::Saved(TSavedDb saved) {
    size_t next = 0;
    for (const auto& [artistKey, artist] : Artists)
        for (const auto& [coverKey, cover] : artist->Covers) {
            if (next >= saved.Covers.size()) break;
            const TSavedDb::TPlace& place = saved.Covers[next++];
            cover->Crc = place.Crc;
            cover->Size = place.Size;
            cover->Offset = place.Offset;
            cover->Source = TInThumbnails{};
        }
    Thumbnails = std::move(saved.Thumbnails);
    MergeSource = nullptr;
}

TFoundCover TCoverDb::FindCover(const std::string& artist, const std::string& albumTitle) const {
    TFoundCover found;
    found.Artist = Artists.Find(CoverKey(artist));
    if (found.Artist) found.Cover = found.Artist->Covers.Find(CoverKey(albumTitle));
    return found;
}

int32_t TCoverDb::ThumbnailCrc(const TCover& cover, int32_t& size, std::string* target) {
    std::string thumbnail;
    if (!MakeThumbnail(cover.PicturePath(), thumbnail, cover.Quality)) {
        size = 0;
        return 0;
    }
    size = int32_t(thumbnail.size());
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
    candidate->Source = TFromPicture{album->PictureFile()};
    candidate->Quality = artist->Quality;

    const std::string key = CoverKey(album->Album);
    TCover* existing = artist->Covers.Find(key);
    if (!existing) {
        artist->Covers.Add(key, std::move(candidate));
        return 1;
    }
    if (!existing->InThumbnails()) return 0;
    int32_t size = 0;
    if (ThumbnailCrc(*candidate, size) == existing->Crc) return 0;
    if (stored) *stored = existing;
    if (!checkOnly) existing->Source = TFromPicture{album->PictureFile()};
    return 2;
}

std::string TCoverDb::CoverBytes(const TCover& cover) const {
    if (cover.InThumbnails()) return Slice(&Thumbnails, cover.Offset, cover.Size);
    if (std::holds_alternative<TInMergeSource>(cover.Source))
        return Slice(MergeSource, cover.Offset, cover.Size);
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
        cover.Source = TInMergeSource{};
    };
    bool stopped = false;
    for (const auto& [otherArtistKey, otherArtist] : other.Artists) {
        for (const auto& [otherCoverKey, otherCover] : otherArtist->Covers) {
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

TResult<TCdbRead> ReadCoverDbFile(const TReadSource& source, TCoverDb& db, TProgress* progress) {
    const std::string& path = source.Name();
    TCdbRead read;
    if (!source.Exists()) return read;
    try {
        TLoadSave stream;
        stream.Open(source);
        read.versionMessage = db.LoadDb(stream, progress);
        stream.Finish();
        return read;
    } catch (const std::system_error& e) {
        db.Clear();
        return TFailure::Of("Could not read file", path, e.code().value());
    } catch (const std::exception&) {
        // What was read before the damage is dropped: written back, it
        // would lose every cover after it.
        db.Clear();
        return TFailure{path, "Could not read file", "the file is damaged: it stops partway", 0};
    }
}

TResult<void> WriteCoverDbFile(const std::string& path, TCoverDb& db, bool keepBackup,
                               TProgress* progress) {
    try {
        TLoadSave stream;
        stream.OpenWrite(path);
        TSavedDb saved = db.SaveDb(stream, progress);
        if (keepBackup) KeepBackupCopy(path);
        stream.Finish();
        db.Saved(std::move(saved));
    } catch (const EFileWriteError& e) {
        const TWriteResult& r = e.Result();
        return TFailure{r.file.empty() ? path : r.file, "Could not write file", r.systemMessage,
                        r.error};
    } catch (const std::system_error& e) {
        return TFailure::Of("Could not write file", path, e.code().value());
    } catch (const std::exception& e) {
        return TFailure{path, "Could not write file", e.what(), 0};
    }
    return TResult<void>::Success();
}

std::string LocalCoverDbPath() {
    return ProgramFolder() + "mavelo.cdb";
}

bool IsLocalCoverDbName(const std::string& path) {
    return LowerAscii(ExtractFileName(path)) == "mavelo.cdb";
}
