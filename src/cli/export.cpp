// mavelo-cli export: writes the view list of a list file through a template,
// printing the export log (stage lines and the engine's comments).
#include <charconv>
#include <iostream>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/ListReading.h"
#include "export/ExportJob.h"

namespace {

const std::string kUsage =
    std::string("usage: mavelo-cli export LIST.mvo --template T -o OUT [--limit N]\n       ") +
    kViewOptionsUsage;

struct TExportOptions {
    std::string list;
    std::string templateName;
    std::string output;
    size_t limit = SIZE_MAX;
    TViewOptions view;
};

bool ReadCount(const std::string& text, size_t& count) {
    const auto end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, count);
    return ec == std::errc() && ptr == end && count >= 1;
}

bool ParseOptions(const std::vector<std::string>& args, TExportOptions& options) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (ReadViewOption(args, i, options.view)) continue;
        if (a == "--template" && hasValue)
            options.templateName = args[++i];
        else if ((a == "-o" || a == "--output") && hasValue)
            options.output = args[++i];
        else if (a == "--limit" && hasValue) {
            if (!ReadCount(args[++i], options.limit)) return false;
        } else if (options.list.empty() && !a.empty() && a.front() != '-')
            options.list = a;
        else
            return false;
    }
    return !options.list.empty() && !options.templateName.empty() && !options.output.empty();
}

int RunExport(const std::vector<std::string>& args) {
    TExportOptions options;
    if (!ParseOptions(args, options)) {
        std::cerr << kUsage << "\n";
        return 2;
    }
    const TSettings settings = ReadProgramSettings();
    TCatalogue catalogue;
    TListLoadResult load;
    if (!LoadListToRead("export", options.list, catalogue, load)) return 1;
    if (!BuildView("export", catalogue, options.view, settings)) return 1;

    TTemplateExporter exporter;
    TExportStageLog stages;
    exporter.SetProgressCallback([&](int stage, int64_t, int64_t) {
        if (auto line = stages.LineFor(stage)) std::cout << *line << "\n";
    });
    exporter.SetCommentCallback([](const std::string& text) { std::cout << text << "\n"; });
    const TExportRequest request{ResolveTemplatePath(options.templateName), options.output,
                                 options.limit};
    if (!ExportAlbums(catalogue.View.Albums(), request, exporter)) return 1;
    return load.Complete() ? 0 : 1;
}

CliCommandRegistration registration{PassThroughCommand(
    "export",
    "export LIST.mvo --template T -o OUT [--limit N] [--sort ORDER] [--year-asc] "
    "[--artist|--genre|--year CRIT] [--selection NAME]",
    "write the albums of a list file in view order through an export template (a template "
    "named without a folder may be a shipped one: export_html.tpt, export_text.tpt)",
    RunExport)};

}  // namespace
