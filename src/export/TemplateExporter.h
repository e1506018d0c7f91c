#pragma once
// The template engine as the export drives it: callbacks for progress and
// comments, the albums to export, and one call that expands a template file
// into an output file.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "export/ExportAlbum.h"

// Stages of an export, as the progress callback reports them.
enum TExportStage : int {
    ExportStageBuild = 0,   // the program builds the album records
    ExportStageInit = 1,    // the engine reads and compiles the template
    ExportStageExport = 2,  // the template reports progress (@progress)
    ExportStageEnd = 3,     // finished, whatever happened
};

using TExportProgress = std::function<void(int stage, int64_t position, int64_t maximum)>;
using TExportComment = std::function<void(const std::string& text)>;

class TTemplateExporter {
  public:
    void SetProgressCallback(TExportProgress progress) { progress_ = std::move(progress); }
    void SetCommentCallback(TExportComment comment) { comment_ = std::move(comment); }

    void ClearAlbums() { albums_.clear(); }
    void AddAlbum(TExportAlbum album) { albums_.push_back(std::move(album)); }
    // An album in the external record form.
    void AddAlbumRecord(std::string_view record) { albums_.push_back(ParseAlbumRecord(record)); }
    const std::vector<TExportAlbum>& Albums() const { return albums_; }

    // Expands the template over the albums and writes the output file
    // safely (a failure leaves no half-written file).  Problems go to the
    // comment callback; true when the output was written.
    bool ProcessTemplate(const std::string& templatePath, const std::string& outputPath);

    void Progress(int stage, int64_t position, int64_t maximum) const {
        if (progress_) progress_(stage, position, maximum);
    }
    void Comment(const std::string& text) const {
        if (comment_) comment_(text);
    }

  private:
    std::vector<TExportAlbum> albums_;
    TExportProgress progress_;
    TExportComment comment_;
};
