// The output file type a template names in its "@#" header.
#include <algorithm>
#include <cctype>

#include "core/FileSystem.h"
#include "export/Template.h"

namespace {
constexpr std::string_view kTextFilter = "Text file (*.txt)|*.txt";
}

std::string FirstLine(std::string_view text) {
    std::string_view line = text.substr(0, text.find('\n'));
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return std::string(line);
}

std::string TemplateFileFilter(std::string_view firstLine) {
    if (firstLine.starts_with("@#")) {
        std::string_view header = firstLine.substr(2);
        if (header.size() > 4 && header.find('|') != std::string_view::npos)
            return std::string(header);
    }
    return std::string(kTextFilter);
}

std::string FilterExtension(std::string_view filter) {
    const size_t dot = filter.rfind('.');
    if (dot == std::string_view::npos) return {};
    std::string ext(filter.substr(dot + 1));
    // Nothing after the pattern belongs to the extension (" *.htm ").
    while (!ext.empty() && std::isspace(static_cast<unsigned char>(ext.back()))) ext.pop_back();
    return ext;
}

std::string OutputNameWithExtension(std::string_view output, std::string_view extension) {
    return ChangeFileExt(output, "") + "." + std::string(extension);
}

bool IsMarkupExtension(std::string_view extension) {
    std::string ext(extension);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext == "html" || ext == "htm" || ext == "xhtml" || ext == "xml" || ext == "svg";
}
