#pragma once
// One export of the view list: the records of its first albums, the
// template expanded into the output file, and the stage lines of the log.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "export/TemplateExporter.h"

class Tm3u;

struct TExportRequest {
    std::string templatePath;
    std::string outputPath;
    size_t limit = 0;  // albums to export from the start of the view
};

// Exports the first `limit` albums of the view in view order.  Reports stage
// 0 for each album (position r, maximum view size - 1), lets the engine
// report stages 1 and 2, and always ends with stage 3.  An output left from
// an earlier export is removed first, so a failed export leaves none; an
// output that names the template itself is refused.  True when written.
bool ExportAlbums(const std::vector<Tm3u*>& view, const TExportRequest& request,
                  TTemplateExporter& exporter);

// The log lines of the stages: one line when the stage changes, nothing
// while it stays.
class TExportStageLog {
  public:
    void Reset() { stage_.reset(); }
    std::optional<std::string> LineFor(int stage);

  private:
    std::optional<int> stage_;
};

// A template named without a folder is looked for among the shipped files
// ("export_html.tpt" and "templates/export_html.tpt"); anything else is
// taken as it is.
std::string ResolveTemplatePath(const std::string& name);
