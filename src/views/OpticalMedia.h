#pragma once
// CD/DVD auto-launch: the optical media mounted now (iso9660 and udf mounts of
// the mount table), the auto-launch lists (".cmo") in a medium's root, the
// scan of a medium that has none, and a watcher that reports new media.
// The mount table and the medium's root are parameters, so all of it works
// on ordinary folders in tests.
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "collection/Um3u_obj.h"

#include "collection/Udir_obj.h"

class TCatalogue;

inline constexpr const char* kMountTable = "/proc/self/mountinfo";

struct TOpticalMedium {
    std::string MountPoint;  // the medium's root folder, the "drive"
    std::string Device;
    bool operator==(const TOpticalMedium&) const = default;
    bool operator<(const TOpticalMedium& other) const {
        return MountPoint != other.MountPoint ? MountPoint < other.MountPoint
                                              : Device < other.Device;
    }
};

std::vector<TOpticalMedium> ListOpticalMedia(const std::string& mountTable = kMountTable);
// The first medium whose root lists at least one entry (only the one mounted
// at `mountPoint` when that is given), as the auto-scan command looks for.
std::optional<TOpticalMedium> FindReadyMedium(const std::vector<TOpticalMedium>& media,
                                              const std::string& mountPoint = {});

// Full paths of the regular files named "*.cmo" (any letter case) directly in
// the medium's root, sorted by name.
std::vector<std::string> FindAutoLaunchLists(const std::string& root);

enum class TCdOpening {
    LoadList,    // exactly one auto-launch list: load it
    ChooseList,  // several: let the user choose one
    ScanMedium,  // none: scan the medium
};

struct TCdPlan {
    TCdOpening action = TCdOpening::ScanMedium;
    std::vector<std::string> lists;  // the auto-launch lists found
};
TCdPlan PlanCdOpening(const std::string& root);

// The scan of a medium into an album list of its own (a full scan, the
// medium's root its only root), through the catalogue's scan job: run the
// job (on any thread), then Finish.  An error ends the scan; the albums
// found so far stay.
class TMediumScan {
  public:
    TMediumScan(const std::string& root, bool prescan, const TTagReader& readTags = {});
    TScanJob& Job() { return *job_; }
    // The albums found, null when the scan was cancelled; `result` says what
    // could not be read.
    std::unique_ptr<TDirectory> Finish(TScanResult& result);

  private:
    std::unique_ptr<TDirectory> albums_;
    std::unique_ptr<TScanJob> job_;
};
// The scanned albums replace the catalogue's (which are freed; selections
// keep none of them): no file name, the medium as the only root, modified.
// False, with the catalogue unchanged, when the scan found no album.
bool AdoptScannedMedium(TCatalogue& catalogue, std::unique_ptr<TDirectory> scanned,
                        const std::string& root);

// Reports optical media mounted since the last poll (the media present when
// the watcher is created count as known).  A medium that is unmounted and
// mounted again is reported again.
class TMediaWatcher {
  public:
    explicit TMediaWatcher(std::string mountTable = kMountTable);
    std::vector<TOpticalMedium> PollNewMedia();

  private:
    std::string mountTable_;
    std::set<TOpticalMedium> known_;
};
