#include "export/ExportJob.h"

#include <cstdio>
#include <filesystem>

#include "collection/Um3u_obj.h"
#include "core/FileSystem.h"
#include "core/ProgramFolder.h"
#include "core/Ulang.h"

namespace {
bool SameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    return std::filesystem::equivalent(a, b, ec) && !ec;
}

// Stage 3 is reported however the export ends.
struct TEndStage {
    const TTemplateExporter& exporter;
    ~TEndStage() { exporter.Progress(ExportStageEnd, 1, 1); }
};
}  // namespace

bool ExportAlbums(const std::vector<Tm3u*>& view, const TExportRequest& request,
                  TTemplateExporter& exporter) {
    TEndStage end{exporter};
    exporter.ClearAlbums();
    const size_t count = std::min(request.limit, view.size());
    const int64_t maximum = static_cast<int64_t>(view.size()) - 1;
    for (size_t r = 0; r < count; ++r) {
        exporter.Progress(ExportStageBuild, static_cast<int64_t>(r), maximum);
        exporter.AddAlbum(MakeExportAlbum(*view[r]));
    }
    if (SameFile(request.outputPath, request.templatePath)) {
        exporter.Comment("The output file is the template itself: nothing was exported");
        return false;
    }
    if (FileExists(request.outputPath)) std::remove(request.outputPath.c_str());
    return exporter.ProcessTemplate(request.templatePath, request.outputPath);
}

std::optional<std::string> TExportStageLog::LineFor(int stage) {
    if (stage_ == stage) return std::nullopt;
    stage_ = stage;
    switch (stage) {
        case ExportStageBuild:
            return LangText("ExportBuild", "Building list");
        case ExportStageInit:
            return LangText("ExportInit", "Initializing list");
        case ExportStageExport:
            return LangText("ExportExport", "Exporting list");
        case ExportStageEnd:
            return LangText("ExportEnd", "Process terminated");
        default:
            return std::nullopt;
    }
}

std::string ResolveTemplatePath(const std::string& name) {
    if (name.empty() || name.find('/') != std::string::npos || FileExists(name)) return name;
    for (const std::string& candidate : {name, "templates/" + name}) {
        const std::string found = FindResource(candidate);
        if (!found.empty()) return found;
    }
    return name;
}
