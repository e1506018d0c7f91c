// mavelo-cli scan: builds a list file by scanning root folders, or scans the
// roots of an existing list file again and writes it back.
#include <unistd.h>
#include <CLI/App.hpp>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <mutex>
#include <thread>

#include "cli/Commands.h"
#include "collection/Udir_obj.h"
#include "core/FileSystem.h"
#include "core/Progress.h"
#include "views/Catalogue.h"
#include "views/ListFile.h"

namespace {

struct TScanOptions {
    std::vector<std::string> roots;
    std::string output;  // the new list file (scan of roots)
    std::string list;    // the existing list file (rescan)
    bool fast = false;
    bool prescan = false;     // count the folders first, for a progress total
    bool unreadable = false;  // list what could not be read
};

// A new list has no cached covers yet; they are made under the normal quality.
constexpr int32_t kNewListCoverQuality = 0;

// True for a scan of roots into a new list or a rescan of one list.
bool IsOneScan(const TScanOptions& options) {
    const bool newList = !options.roots.empty() && !options.output.empty() && options.list.empty();
    const bool rescan = options.roots.empty() && options.output.empty() && !options.list.empty();
    return newList || rescan;
}

// Shows a scan's progress on a terminal, ten times a second, from a thread
// of its own while the scan runs on this one.
class TProgressLine {
  public:
    explicit TProgressLine(const TProgress& progress) : progress_(progress) {
        if (isatty(STDERR_FILENO) != 1) return;
        shower_ = std::thread([this] {
            std::unique_lock lock(mutex_);
            while (!stopCalled_.wait_for(lock, std::chrono::milliseconds(100),
                                         [this] { return stopping_; }))
                Show();
        });
    }
    ~TProgressLine() {
        if (!shower_.joinable()) return;
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        stopCalled_.notify_all();
        shower_.join();
        Show();
        std::cerr << "\n";
    }
    TProgressLine(const TProgressLine&) = delete;
    TProgressLine& operator=(const TProgressLine&) = delete;

  private:
    void Show() const {
        std::cerr << "\r" << progress_.Done();
        if (progress_.Total() > 0) std::cerr << "/" << progress_.Total();
        std::cerr << " scanned directories" << std::flush;
    }

    const TProgress& progress_;
    std::mutex mutex_;
    std::condition_variable stopCalled_;
    bool stopping_ = false;
    std::thread shower_;
};

// The scan job in place (nothing else uses the catalogue), its progress on
// the terminal.
TScanResult RunRescan(TCatalogue& catalogue, bool force, bool prescan) {
    const auto job = TScanJob::ForRescan(catalogue.Directory, catalogue.Roots, force, prescan,
                                         TScanJob::TTarget::InPlace);
    {
        TProgressLine progress(job->Progress);
        job->Run();
    }
    return job->Apply(catalogue.Directory, catalogue.Roots);
}

size_t CountTracks(const TDirectory& directory) {
    size_t tracks = 0;
    for (const auto& entry : directory.List) tracks += entry.object->Tracks.Count();
    return tracks;
}

// What the scan could not do goes to standard error; any of it makes the
// exit status 1, the list being written all the same.
bool ReportScanProblems(const TScanResult& scan, bool listUnreadable) {
    bool problems = false;
    if (!scan.completed) {
        std::cerr << "mavelo-cli scan: the scan stopped: " << scan.error << "\n";
        problems = true;
    }
    for (const auto& root : scan.missingRoots) {
        std::cerr << "mavelo-cli scan: root folder missing or not mounted, its albums kept: "
                  << root << "\n";
        problems = true;
    }
    const TUnreadable& unreadable = scan.unreadable;
    if (unreadable.folders + unreadable.files > 0) {
        std::cerr << "mavelo-cli scan: could not read " << unreadable.folders << " folders and "
                  << unreadable.files << " files"
                  << (listUnreadable ? ":" : " (--unreadable lists them)") << "\n";
        if (listUnreadable)
            for (const auto& path : unreadable.paths) std::cerr << "  " << path << "\n";
        problems = true;
    }
    return problems;
}

int Report(const TCatalogue& catalogue, const TScanResult& scan, const TListSaveResult& save,
           const std::string& path, bool listUnreadable) {
    const bool problems = ReportScanProblems(scan, listUnreadable);
    if (!save.saved) {
        std::cerr << "mavelo-cli scan: could not write " << path << ": " << save.error << "\n";
        return 1;
    }
    std::cout << catalogue.Albums().Count() << " albums, " << CountTracks(catalogue.Directory)
              << " tracks, " << scan.removed << " removed, " << scan.elapsedMs << " ms\n";
    return problems ? 1 : 0;
}

// A list saved while roots were missing keeps the older backup.
TBackupRule BackupRuleAfter(const TScanResult& scan) {
    return scan.missingRoots.empty() ? TBackupRule::Replace : TBackupRule::KeepOld;
}

int ScanNewList(const TScanOptions& options) {
    TCatalogue catalogue;
    for (const auto& root : options.roots) {
        if (!DirectoryExists(root)) {
            std::cerr << "mavelo-cli scan: no such folder: " << root << "\n";
            return 1;
        }
        catalogue.Roots.Add(std::filesystem::absolute(root).lexically_normal().string());
    }
    const TScanResult scan = RunRescan(catalogue, true, options.prescan);
    std::vector<std::string> recent;
    const TListSaveResult save =
        SaveList(options.output, catalogue, kNewListCoverQuality, recent, BackupRuleAfter(scan));
    return Report(catalogue, scan, save, options.output, options.unreadable);
}

int RescanList(const TScanOptions& options) {
    TCatalogue catalogue;
    int32_t coverQuality = 0;
    std::vector<std::string> recent;
    const TListLoadResult load = LoadList(options.list, catalogue, coverQuality, recent);
    // Writing back a list that was not read whole would lose its missing part.
    if (!load.Complete()) {
        std::cerr << "mavelo-cli scan: cannot read " << options.list
                  << (load.error.empty() ? "" : ": " + load.error) << "\n";
        return 1;
    }
    const TScanResult scan = RunRescan(catalogue, !options.fast, options.prescan);
    // A rescan that found nothing new leaves the file exactly as it was.
    const TListSaveResult save =
        SaveListIfChanged(options.list, catalogue, coverQuality, recent, BackupRuleAfter(scan));
    return Report(catalogue, scan, save, options.list, options.unreadable);
}

int RunScan(const TScanOptions& options) {
    if (!IsOneScan(options)) {
        std::cerr << "mavelo-cli scan: needs ROOT... -o LIST.mvo, or --fast|--full LIST.mvo "
                     "(see mavelo-cli scan --help)\n";
        return 2;
    }
    return options.list.empty() ? ScanNewList(options) : RescanList(options);
}

CliRun DefineScan(CLI::App& command) {
    auto options = std::make_shared<TScanOptions>();
    auto roots = command.add_option("ROOT", options->roots, "the root folders of a new list");
    auto output = command.add_option("-o,--output", options->output, "the new list file")
                      ->type_name("LIST.mvo");
    auto rescan = [&command, options](const char* name, bool fast, const char* what) {
        return command
            .add_option_function<std::string>(
                name,
                [options, fast](const std::string& list) {
                    options->list = list;
                    options->fast = fast;
                },
                what)
            ->type_name("LIST.mvo");
    };
    auto fast = rescan("--fast", true, "scan the list again, reading tags of new albums only");
    auto full = rescan("--full", false, "scan the list again, reading every tag");
    fast->excludes(full);
    for (auto* again : {fast, full}) again->excludes(roots)->excludes(output);
    command.add_flag("--prescan", options->prescan, "count the folders first, for a total");
    command.add_flag("--unreadable", options->unreadable,
                     "list the folders and files that could not be read");
    return [options] { return RunScan(*options); };
}

CliCommandRegistration registration{
    {"scan",
     "scan root folders into a new list file, or scan an existing list again (fast or full)",
     DefineScan}};

}  // namespace
