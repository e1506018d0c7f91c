#include "export/TemplateExporter.h"

#include <exception>

#include "core/FileSystem.h"
#include "core/SafeWrite.h"
#include "export/Template.h"

bool TTemplateExporter::ProcessTemplate(const std::string& templatePath,
                                        const std::string& outputPath) {
    Progress(ExportStageInit, 0, 1);
    std::string text;
    try {
        text = ReadWholeFile(templatePath);
    } catch (const std::exception& e) {
        Comment(std::string("Could not read the template: ") + e.what());
        return false;
    }
    TTemplate compiled =
        TTemplate::Compile(text, [this](const std::string& problem) { Comment(problem); });
    Progress(ExportStageInit, 1, 1);
    if (!compiled.Ok()) {
        Comment("The template has errors: nothing was exported");
        return false;
    }
    compiled.SetEscapeMarkup(
        IsMarkupExtension(FilterExtension(TemplateFileFilter(FirstLine(text)))));

    std::string output;
    compiled.Expand(albums_, output, [this](int64_t position, int64_t maximum) {
        Progress(ExportStageExport, position, maximum);
    });
    try {
        ReplaceFileContents(outputPath, output);
    } catch (const std::exception& e) {
        Comment(std::string("Could not write the output file: ") + e.what());
        return false;
    }
    return true;
}
