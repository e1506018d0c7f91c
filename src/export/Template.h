#pragma once
// The export template language.  A template is compiled once into a small
// tree and then expanded over the albums.
//
//   @# Description(*.ext)|*.ext   first line only: the output's file type
//   ${album.artist}               a field of the album or track in hand
//   ${name}                       a variable's value
//   @set(name, expr)              integer variables; expr: terms joined by + or -
//   @size(albums)                 the number of items of a list (also a term)
//   @foreach album (albums) {...} the body once per album; lists: albums,
//                                 X.tracks for an album X in hand
//   @if(value) {...}              the body when a field is not blank or a
//                                 variable is not 0
//   @progress(pos, max)           reports progress (stage 2)
//   @@ @$ @{ @}                   the character itself
// A "\" at the end of a line joins the next line without a line break.
// Inside a body, braces of the text itself ("p { color: red }") pair up and
// stay text; a "@" not followed by a directive's name stays text ("@media").
//
// In HTML and XML output the inserted field values are escaped (& < > " ')
// so that catalogue text cannot break the page.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "export/ExportAlbum.h"

// What "New template" writes and the shipped default template holds.
extern const char* const kDefaultTemplate;

struct TTemplateNode;

class TTemplate {
  public:
    using CommentSink = std::function<void(const std::string&)>;
    using ProgressSink = std::function<void(int64_t position, int64_t maximum)>;

    // Compiles the text; each problem goes to `comment` as "Line N: ..." and
    // leaves the template unusable (Ok() false).
    static TTemplate Compile(std::string_view text, const CommentSink& comment);

    TTemplate();
    TTemplate(TTemplate&&) noexcept;
    TTemplate& operator=(TTemplate&&) noexcept;
    ~TTemplate();

    bool Ok() const { return ok_; }
    // The "@#" line without its "@#" ("" when the template has none).
    const std::string& Header() const { return header_; }
    // Escape inserted values for markup output.
    void SetEscapeMarkup(bool on) { escapeMarkup_ = on; }
    bool EscapeMarkup() const { return escapeMarkup_; }

    // Appends the expansion over the albums to `out`.
    void Expand(const std::vector<TExportAlbum>& albums, std::string& out,
                const ProgressSink& progress = {}) const;

  private:
    friend class TTemplateParser;
    bool ok_ = false;
    bool escapeMarkup_ = false;
    std::string header_;
    size_t variableCount_ = 0;
    std::unique_ptr<TTemplateNode> root_;
};

// The file type of a template's first line: its "@#" header when that is
// longer than 4 characters and holds "|", else "Text file (*.txt)|*.txt".
std::string TemplateFileFilter(std::string_view firstLine);
// The text after the filter's last ".": "html" for "...|*.html".
std::string FilterExtension(std::string_view filter);
// The output name with its extension (if any) replaced by `extension`.
std::string OutputNameWithExtension(std::string_view output, std::string_view extension);
// True for the extensions of HTML and XML files, whose values are escaped.
bool IsMarkupExtension(std::string_view extension);
// The first line of a text (without its line break).
std::string FirstLine(std::string_view text);
