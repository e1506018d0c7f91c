// mavelo-cli export: writes the view list of a list file through a template,
// printing the export log (stage lines and the engine's comments).
#include <CLI/App.hpp>
#include <charconv>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/ListReading.h"
#include "export/ExportJob.h"

namespace {

struct TExportOptions {
    std::string list;
    std::string templateName;
    std::string output;
    size_t limit = SIZE_MAX;
    TViewOptions view;
};

int RunExport(const TExportOptions& options) {
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

CliRun DefineExport(CLI::App& command) {
    auto options = std::make_shared<TExportOptions>();
    command.add_option("LIST", options->list, "the list file (.mvo)")->required();
    command.add_option("--template", options->templateName, "the export template")
        ->type_name("T")
        ->required();
    command.add_option("-o,--output", options->output, "the file to write")
        ->type_name("OUT")
        ->required();
    command.add_option("--limit", options->limit, "write at most N albums")
        ->type_name("N")
        ->check(CLI::Validator(
            [](std::string& text) {
                return text.find_first_not_of("0123456789") == std::string::npos &&
                               text.find_first_not_of('0') != std::string::npos
                           ? std::string()
                           : "takes a count of 1 or more, not " + text;
            },
            "N"));
    AddViewOptions(command, options->view);
    return [options] { return RunExport(*options); };
}

CliCommandRegistration registration{
    {"export",
     "write the albums of a list file in view order through an export template (a template "
     "named without a folder may be a shipped one: export_html.tpt, export_text.tpt)",
     DefineExport}};

}  // namespace
