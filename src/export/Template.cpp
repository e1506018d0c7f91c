// Expanding a compiled template over the albums.
#include "export/Template.h"

#include <cctype>
#include <cstdint>

#include "export/TemplateNodes.h"

const char* const kDefaultTemplate =
    "@# Text file(*.txt)|*.txt\n"
    "@set(i,0)\\\n"
    "@set(over, @size(albums))\\\n"
    "@foreach album (albums) {\\\n"
    "@progress(i,over)\\\n"
    "${album.artist}\n"
    "${album.album}\n"
    "${album.genre}\n"
    "${album.year}\n"
    "${album.playlistpath}\n"
    "${album.coverpath}\n"
    "@foreach track(album.tracks) {\\\n"
    "${track.title}\n"
    "${track.trackpath}\n"
    "}\\\n"
    "@set(i,i+1)\\\n"
    "}\\\n"
    "@progress(over,over)\n";

namespace {
bool IsBlank(const std::string& value) {
    return value.empty() || value == kBlankField;
}

void AppendEscaped(std::string& out, const std::string& value) {
    size_t start = 0;
    for (size_t i = 0; i < value.size(); ++i) {
        const char* entity = nullptr;
        switch (value[i]) {
            case '&':
                entity = "&amp;";
                break;
            case '<':
                entity = "&lt;";
                break;
            case '>':
                entity = "&gt;";
                break;
            case '"':
                entity = "&quot;";
                break;
            case '\'':
                entity = "&#39;";
                break;
            default:
                continue;
        }
        out.append(value, start, i - start);
        out += entity;
        start = i + 1;
    }
    out.append(value, start, std::string::npos);
}

// A local path as a file URL: bytes outside the unreserved set and "/" are
// percent-encoded, so "#", "?" and spaces in names keep the link whole.
std::string FileUrl(const std::string& path) {
    if (IsBlank(path)) return std::string(kBlankField);
    static const char* hex = "0123456789ABCDEF";
    std::string url = "file://";
    for (unsigned char c : path) {
        if (std::isalnum(c) || c == '/' || c == '-' || c == '.' || c == '_' || c == '~') {
            url += static_cast<char>(c);
        } else {
            url += '%';
            url += hex[c >> 4];
            url += hex[c & 15];
        }
    }
    return url;
}

std::string FileNameOf(const std::string& path) {
    return path.substr(path.rfind('/') + 1);
}

class TExpansion {
  public:
    TExpansion(const std::vector<TExportAlbum>& albums, std::string& out, bool escape,
               size_t variables, const TTemplate::ProgressSink& progress)
        : albums_(albums),
          out_(out),
          escape_(escape),
          variables_(variables, 0),
          progress_(progress) {}

    void Run(const TTemplateNode& node) {
        using K = TTemplateNode::Kind;
        switch (node.kind) {
            case K::Sequence:
                RunChildren(node);
                break;
            case K::Text:
                out_ += node.text;
                break;
            case K::Field:
                InsertField(node);
                break;
            case K::Variable:
                out_ += std::to_string(variables_[node.index]);
                break;
            case K::Size:
                out_ += std::to_string(Evaluate(node.value));
                break;
            case K::Set:
                variables_[node.index] = Evaluate(node.value);
                break;
            case K::Progress:
                if (progress_) progress_(Evaluate(node.value), Evaluate(node.maximum));
                break;
            case K::Foreach:
                RunForeach(node);
                break;
            case K::IfField:
                if (IsBlank(FieldValue(node)) == node.negate) RunChildren(node);
                break;
            case K::IfVariable:
                if ((variables_[node.index] == 0) == node.negate) RunChildren(node);
                break;
        }
    }

  private:
    // The item bound to a slot: an album or a track.
    struct Bound {
        const TExportAlbum* album = nullptr;
        const TExportTrack* track = nullptr;
    };

    void RunChildren(const TTemplateNode& node) {
        for (const auto& child : node.children) Run(child);
    }

    void RunForeach(const TTemplateNode& node) {
        if (slots_.size() <= node.slot) slots_.resize(node.slot + 1);
        if (!node.list.tracks) {
            for (const auto& album : albums_) {
                slots_[node.slot] = {&album, nullptr};
                RunChildren(node);
            }
            return;
        }
        const TExportAlbum* album = slots_[node.list.slot].album;
        for (const auto& track : album->tracks) {
            slots_[node.slot] = {nullptr, &track};
            RunChildren(node);
        }
    }

    // The stored value behind a field (a URL field's path).
    const std::string& FieldValue(const TTemplateNode& node) const {
        using F = TTemplateField;
        const Bound& bound = slots_[node.slot];
        switch (node.field) {
            case F::Artist:
                return bound.album->artist;
            case F::Album:
                return bound.album->album;
            case F::Genre:
                return bound.album->genre;
            case F::Year:
                return bound.album->year;
            case F::PlaylistPath:
            case F::PlaylistUrl:
                return bound.album->playlistPath;
            case F::CoverPath:
            case F::CoverUrl:
                return bound.album->coverPath;
            case F::Title:
                return bound.track->title;
            case F::TrackPath:
            case F::TrackUrl:
            case F::TrackFileName:
                return bound.track->trackPath;
        }
        return bound.album->artist;
    }

    void InsertField(const TTemplateNode& node) {
        using F = TTemplateField;
        const bool url =
            node.field == F::PlaylistUrl || node.field == F::CoverUrl || node.field == F::TrackUrl;
        if (url)
            Insert(FileUrl(FieldValue(node)));
        else if (node.field == F::TrackFileName)
            Insert(FileNameOf(FieldValue(node)));
        else
            Insert(FieldValue(node));
    }

    void Insert(const std::string& value) {
        if (escape_)
            AppendEscaped(out_, value);
        else
            out_ += value;
    }

    // Sums beyond the 64-bit range stop at its ends rather than wrap.
    int64_t Evaluate(const TTemplateExpr& expr) const {
        int64_t sum = 0;
        for (const auto& term : expr) {
            const int64_t value = TermValue(term);
            int64_t next;
            const bool overflow = term.negative ? __builtin_sub_overflow(sum, value, &next)
                                                : __builtin_add_overflow(sum, value, &next);
            if (overflow) next = (term.negative ? value < 0 : value > 0) ? INT64_MAX : INT64_MIN;
            sum = next;
        }
        return sum;
    }

    int64_t TermValue(const TTemplateTerm& term) const {
        using K = TTemplateTerm::Kind;
        switch (term.kind) {
            case K::Number:
                return term.number;
            case K::Variable:
                return variables_[term.index];
            case K::AlbumCount:
                return static_cast<int64_t>(albums_.size());
            case K::TrackCount:
                return static_cast<int64_t>(slots_[term.index].album->tracks.size());
        }
        return 0;
    }

    const std::vector<TExportAlbum>& albums_;
    std::string& out_;
    bool escape_;
    std::vector<int64_t> variables_;
    std::vector<Bound> slots_;
    const TTemplate::ProgressSink& progress_;
};
}  // namespace

TTemplate::TTemplate() = default;
TTemplate::TTemplate(TTemplate&&) noexcept = default;
TTemplate& TTemplate::operator=(TTemplate&&) noexcept = default;
TTemplate::~TTemplate() = default;

void TTemplate::Expand(const std::vector<TExportAlbum>& albums, std::string& out,
                       const ProgressSink& progress) const {
    if (!ok_ || !root_) return;
    TExpansion(albums, out, escapeMarkup_, variableCount_, progress).Run(*root_);
}
