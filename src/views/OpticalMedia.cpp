#include "views/OpticalMedia.h"

#include <algorithm>
#include <filesystem>

#include "collection/Udir_obj.h"
#include "core/FileSystem.h"
#include "core/Mounts.h"
#include "core/Ucommon.h"
#include "views/Catalogue.h"

namespace fs = std::filesystem;

namespace {
bool HasEntries(const std::string& folder) {
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    return !ec && it != fs::directory_iterator();
}
}  // namespace

std::vector<TOpticalMedium> ListOpticalMedia(const std::string& mountTable) {
    std::vector<TOpticalMedium> media;
    for (const auto& mount : ReadMountTable(mountTable))
        if (IsOpticalFileSystem(mount.fsType)) media.push_back({mount.mountPoint, mount.source});
    return media;
}

std::optional<TOpticalMedium> FindReadyMedium(const std::vector<TOpticalMedium>& media,
                                              const std::string& mountPoint) {
    for (const auto& medium : media) {
        if (!mountPoint.empty() && !SamePath(medium.MountPoint, mountPoint)) continue;
        if (HasEntries(medium.MountPoint)) return medium;
    }
    return std::nullopt;
}

std::vector<std::string> FindAutoLaunchLists(const std::string& root) {
    std::vector<std::string> lists;
    std::error_code ec;
    for (fs::directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (LowerAscii(ExtractFileExt(name)) == ".cmo" && it->is_regular_file(ec))
            lists.push_back(JoinPath(root, name));
    }
    std::sort(lists.begin(), lists.end());
    return lists;
}

TCdPlan PlanCdOpening(const std::string& root) {
    TCdPlan plan;
    plan.lists = FindAutoLaunchLists(root);
    if (plan.lists.size() > 1)
        plan.action = TCdOpening::ChooseList;
    else if (plan.lists.size() == 1 && FileExists(plan.lists[0]))
        plan.action = TCdOpening::LoadList;
    return plan;
}

TMediumScan::TMediumScan(const std::string& root, bool prescan, const TTagReader& readTags)
    : albums_(std::make_unique<TDirectory>()) {
    albums_->TagReader = readTags;
    // Nothing else sees the new list while it is scanned: no copy is needed.
    job_ = TScanJob::ForAddRoots(*albums_, {ExcludeTrailingSeparator(root)}, prescan,
                                 TScanJob::TTarget::InPlace);
}

std::unique_ptr<TDirectory> TMediumScan::Finish(TScanResult& result) {
    TRootList roots;
    result = job_->Apply(*albums_, roots);
    if (result.cancelled) return nullptr;  // stopped by the user: nothing is taken
    return std::move(albums_);
}

bool AdoptScannedMedium(TCatalogue& catalogue, std::unique_ptr<TDirectory> scanned,
                        const std::string& root) {
    if (!scanned || scanned->List.Empty()) return false;
    catalogue.View.Clear();
    catalogue.Selections.ForgetAllAlbums();
    catalogue.Directory.List = std::move(scanned->List);
    catalogue.Roots.Clear();
    catalogue.Roots.Add(root);
    catalogue.CurrentFile.clear();
    catalogue.ListModified = true;
    return true;
}

TMediaWatcher::TMediaWatcher(std::string mountTable) : mountTable_(std::move(mountTable)) {
    for (auto& medium : ListOpticalMedia(mountTable_)) known_.insert(std::move(medium));
}

std::vector<TOpticalMedium> TMediaWatcher::PollNewMedia() {
    std::set<TOpticalMedium> present;
    std::vector<TOpticalMedium> arrived;
    for (auto& medium : ListOpticalMedia(mountTable_)) {
        if (!known_.contains(medium) && !present.contains(medium)) arrived.push_back(medium);
        present.insert(std::move(medium));
    }
    known_ = std::move(present);
    return arrived;
}
