#include "covers/CoverOperations.h"

#include "core/FileSystem.h"
#include "core/Progress.h"
#include "covers/Ucov_obj.h"

namespace {
// An operation asked to stop writes nothing.
TFailure Cancelled(const std::string& path) {
    return {path, "Cancelled: nothing written to", "", 0};
}
}  // namespace

TResult<TCoverExport> ExportCoversToDbFile(const TDirectory& directory, const std::string& path,
                                           int defaultQuality, TOtherVersion otherVersion,
                                           const TReplacePrompts& prompts, TProgress& progress) {
    TCoverDb db(defaultQuality);
    progress.SetStep("Reading " + path);
    auto read = ReadCoverDbFile(path, db, &progress);
    if (!read) return read.Failure();
    if (read->WrongVersion() && otherVersion == TOtherVersion::Refuse)
        return TFailure{path, "Cannot add covers to", read->versionMessage, 0};
    TCoverExport result;
    result.VersionMessage = read->versionMessage;
    result.StartedEmpty = db.Artists.Empty();
    progress.SetStep("Adding covers");
    result.Count = ExportAlbumCovers(directory, db, prompts, &progress);
    if (progress.CancelRequested()) return Cancelled(path);
    progress.SetStep("Writing " + path);
    auto written = WriteCoverDbFile(path, db, IsLocalCoverDbName(path), &progress);
    if (!written) return written.Failure();
    return result;
}

TResult<void> ExportAllCoversToFile(const TDirectory& directory, const std::string& path,
                                    int defaultQuality, TProgress& progress) {
    TCoverDb db(defaultQuality);
    progress.SetStep("Adding covers");
    AddAllAlbumCovers(directory, db, &progress);
    if (progress.CancelRequested()) return Cancelled(path);
    progress.SetStep("Writing " + path);
    return WriteCoverDbFile(path, db, false, &progress);
}

TResult<TCoverImportResult> ImportCoversFromDbFile(TDirectory& directory, const std::string& path,
                                                   int defaultQuality, const TImportScope& scope,
                                                   const TReplacePrompts& prompts,
                                                   TProgress& progress) {
    if (!FileExists(path)) return TFailure::Of("No such covers database", path, ENOENT);
    TCoverDb db(defaultQuality);
    progress.SetStep("Reading " + path);
    auto read = ReadCoverDbFile(path, db, &progress);
    if (!read) return read.Failure();
    TCoverImportResult result;
    result.VersionMessage = read->versionMessage;
    progress.SetStep("Importing covers");
    static_cast<TCoverImport&>(result) = ImportCovers(directory, scope, db, prompts, &progress);
    return result;
}

TResult<TCoverMerge> MergeCoverDbFile(TCoverDb& local, const std::string& localPath,
                                      const std::string& otherPath, const TReplacePrompts& prompts,
                                      TProgress& progress) {
    TCoverDb other(local.Quality);
    progress.SetStep("Reading " + otherPath);
    auto read = ReadCoverDbFile(otherPath, other, &progress);
    if (!read) return read.Failure();
    TCoverMerge result;
    result.VersionMessage = read->versionMessage;
    result.Count = local.MergeDb(other, prompts);
    if (result.Count > 0) {
        progress.SetStep("Writing " + localPath);
        auto written = WriteCoverDbFile(localPath, local, true, &progress);
        // Covers that were to come from the other file have nothing left to
        // come from once it is gone.
        local.MergeSource = nullptr;
        if (!written) return written.Failure();
    }
    local.MergeSource = nullptr;
    return result;
}
