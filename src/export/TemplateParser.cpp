// Compiling a template: one pass over the text that builds the node tree,
// resolving item names, fields and variables as it goes, so that expansion
// only walks the tree.
#include <cctype>
#include <map>
#include <stdexcept>

#include "export/Template.h"
#include "export/TemplateNodes.h"

namespace {
struct TParseError {
    int line;
    std::string message;
};

const std::map<std::string, TTemplateField, std::less<>>& FieldNames() {
    using F = TTemplateField;
    static const std::map<std::string, TTemplateField, std::less<>> names{
        {"artist", F::Artist},
        {"album", F::Album},
        {"genre", F::Genre},
        {"year", F::Year},
        {"playlistpath", F::PlaylistPath},
        {"coverpath", F::CoverPath},
        {"playlisturl", F::PlaylistUrl},
        {"coverurl", F::CoverUrl},
        {"title", F::Title},
        {"trackpath", F::TrackPath},
        {"trackurl", F::TrackUrl},
        {"filename", F::TrackFileName},
    };
    return names;
}

bool IsNameStart(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
}
bool IsNameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}
}  // namespace

class TTemplateParser {
  public:
    explicit TTemplateParser(std::string_view text) : text_(text) {}

    void Compile(TTemplate& result) {
        SkipHeader(result.header_);
        result.root_ = std::make_unique<TTemplateNode>();
        ParseSequence(*result.root_, false);
        result.variableCount_ = variables_.size();
        result.ok_ = true;
    }

  private:
    struct Item {
        std::string name;
        bool track;
    };

    // --- reading characters; "\" + line break vanishes -------------------
    void SkipJoins() {
        while (pos_ < text_.size() && text_[pos_] == '\\') {
            size_t next = pos_ + 1;
            if (next < text_.size() && text_[next] == '\r') ++next;
            if (next >= text_.size() || text_[next] != '\n') return;
            pos_ = next + 1;
            ++line_;
        }
    }
    bool AtEnd() {
        SkipJoins();
        return pos_ >= text_.size();
    }
    char Peek() {
        SkipJoins();
        return pos_ < text_.size() ? text_[pos_] : '\0';
    }
    char PeekAfter() const { return pos_ + 1 < text_.size() ? text_[pos_ + 1] : '\0'; }
    char Next() {
        const char c = Peek();
        if (pos_ < text_.size()) ++pos_;
        if (c == '\n') ++line_;
        return c;
    }
    void SkipBlanks() {
        while (Peek() == ' ' || Peek() == '\t') Next();
    }
    void SkipSpace() {
        while (Peek() == ' ' || Peek() == '\t' || Peek() == '\n' || Peek() == '\r') Next();
    }
    [[noreturn]] void Fail(const std::string& message) const { throw TParseError{line_, message}; }
    void Expect(char c, const std::string& where) {
        SkipBlanks();
        if (Peek() != c) Fail(std::string("expected \"") + c + "\" " + where);
        Next();
    }
    std::string ReadName() {
        std::string name;
        while (IsNameChar(Peek())) name += Next();
        return name;
    }
    // A name with dots ("album.tracks").
    std::string ReadPath() {
        SkipBlanks();
        std::string path = ReadName();
        while (Peek() == '.') {
            Next();
            path += '.' + ReadName();
        }
        return path;
    }

    void SkipHeader(std::string& header) {
        if (!text_.starts_with("@#")) return;
        size_t end = text_.find('\n');
        if (end == std::string_view::npos) end = text_.size();
        header = std::string(text_.substr(2, end - 2));
        if (!header.empty() && header.back() == '\r') header.pop_back();
        pos_ = end < text_.size() ? end + 1 : end;
        line_ = 2;
    }

    // --- the text and its directives -------------------------------------
    // Parses until the end or, inside a body, the "}" that closes it.
    void ParseSequence(TTemplateNode& into, bool inBody) {
        int braces = 0;  // the text's own braces inside a body
        const int startLine = line_;
        while (!AtEnd()) {
            const char c = Peek();
            if (c == '@') {
                ParseAt(into);
            } else if (c == '$' && PeekAfter() == '{') {
                ParseInsertion(into);
            } else if (inBody && c == '}' && braces == 0) {
                Next();
                return;
            } else {
                if (inBody && c == '{') ++braces;
                if (inBody && c == '}') --braces;
                AppendText(into, Next());
            }
        }
        if (inBody) throw TParseError{startLine, "the body opened here is not closed by \"}\""};
    }

    // Bodies nest on the stack (compiling and expanding); a template that
    // nests them deeper than anyone writes is refused rather than crashing.
    static constexpr int kMaxNesting = 100;

    void ParseBody(TTemplateNode& node) {
        if (++nesting_ > kMaxNesting) Fail("bodies are nested too deeply");
        ParseSequence(node, true);
        --nesting_;
    }

    static TTemplateNode Node(TTemplateNode::Kind kind) {
        TTemplateNode node;
        node.kind = kind;
        return node;
    }

    void ParseSize(TTemplateNode& into) {
        TTemplateNode node = Node(TTemplateNode::Kind::Size);
        node.value.push_back(ParseSizeTerm());
        into.children.push_back(std::move(node));
    }

    static void AppendText(TTemplateNode& into, char c) {
        if (into.children.empty() || into.children.back().kind != TTemplateNode::Kind::Text)
            into.children.push_back(Node(TTemplateNode::Kind::Text));
        into.children.back().text += c;
    }

    void ParseAt(TTemplateNode& into) {
        Next();  // "@"
        const char c = Peek();
        if (c == '@' || c == '$' || c == '{' || c == '}') {
            AppendText(into, Next());
            return;
        }
        const std::string name = ReadName();
        if (name == "set")
            ParseSet(into);
        else if (name == "size")
            ParseSize(into);
        else if (name == "foreach")
            ParseForeach(into);
        else if (name == "if" || name == "ifnot")
            ParseIf(into, name == "ifnot");
        else if (name == "progress")
            ParseProgress(into);
        else if (!name.empty() && Peek() == '(')
            Fail("unknown directive @" + name);
        else {
            AppendText(into, '@');
            for (char n : name) AppendText(into, n);
        }
    }

    void ParseSet(TTemplateNode& into) {
        Expect('(', "after @set");
        SkipBlanks();
        const std::string name = ReadName();
        if (name.empty()) Fail("@set needs a variable name");
        Expect(',', "after the name of @set");
        TTemplateExpr value = ParseExpression();
        Expect(')', "at the end of @set");
        // The variable exists from here on (its own value may not use it yet).
        auto [it, added] = variables_.try_emplace(name, variables_.size());
        TTemplateNode node = Node(TTemplateNode::Kind::Set);
        node.index = it->second;
        node.value = std::move(value);
        into.children.push_back(std::move(node));
    }

    void ParseProgress(TTemplateNode& into) {
        Expect('(', "after @progress");
        TTemplateExpr position = ParseExpression();
        Expect(',', "between the position and the maximum of @progress");
        TTemplateExpr maximum = ParseExpression();
        Expect(')', "at the end of @progress");
        TTemplateNode node = Node(TTemplateNode::Kind::Progress);
        node.value = std::move(position);
        node.maximum = std::move(maximum);
        into.children.push_back(std::move(node));
    }

    void ParseForeach(TTemplateNode& into) {
        SkipBlanks();
        const std::string name = ReadName();
        if (name.empty()) Fail("@foreach needs an item name");
        Expect('(', "after the item name of @foreach");
        const TTemplateList list = ParseList();
        Expect(')', "after the list of @foreach");
        SkipSpace();
        Expect('{', "to open the body of @foreach");
        TTemplateNode node = Node(TTemplateNode::Kind::Foreach);
        node.slot = scope_.size();
        node.list = list;
        scope_.push_back({name, list.tracks});
        ParseBody(node);
        scope_.pop_back();
        into.children.push_back(std::move(node));
    }

    void ParseIf(TTemplateNode& into, bool negate) {
        const std::string directive = negate ? "@ifnot" : "@if";
        Expect('(', "after " + directive);
        const std::string path = ReadPath();
        Expect(')', "at the end of " + directive);
        TTemplateNode node = ResolveValue(path, directive);
        node.negate = negate;
        node.kind = node.kind == TTemplateNode::Kind::Field ? TTemplateNode::Kind::IfField
                                                            : TTemplateNode::Kind::IfVariable;
        SkipSpace();
        Expect('{', "to open the body of " + directive);
        ParseBody(node);
        into.children.push_back(std::move(node));
    }

    void ParseInsertion(TTemplateNode& into) {
        Next();  // "$"
        Next();  // "{"
        const std::string path = ReadPath();
        SkipBlanks();
        if (Peek() != '}') Fail("expected \"}\" to close ${" + path);
        Next();
        into.children.push_back(ResolveValue(path, "${...}"));
    }

    // A field of an item in hand ("album.artist") or a variable.
    TTemplateNode ResolveValue(const std::string& path, const std::string& where) {
        const size_t dot = path.find('.');
        if (dot == std::string::npos) {
            auto it = variables_.find(path);
            if (it == variables_.end()) Fail("unknown variable \"" + path + "\" in " + where);
            TTemplateNode node = Node(TTemplateNode::Kind::Variable);
            node.index = it->second;
            return node;
        }
        const size_t slot = FindItem(path.substr(0, dot));
        const std::string fieldName = path.substr(dot + 1);
        auto field = FieldNames().find(fieldName);
        if (field == FieldNames().end() || IsTrackField(field->second) != scope_[slot].track)
            Fail("unknown field \"" + path + "\"");
        TTemplateNode node = Node(TTemplateNode::Kind::Field);
        node.field = field->second;
        node.slot = slot;
        return node;
    }

    size_t FindItem(const std::string& name) const {
        for (size_t i = scope_.size(); i-- > 0;)
            if (scope_[i].name == name) return i;
        Fail("\"" + name + "\" is not an item of an enclosing @foreach");
    }

    TTemplateList ParseList() {
        const std::string path = ReadPath();
        if (path == "albums") return {};
        if (path.ends_with(".tracks")) {
            const size_t slot = FindItem(path.substr(0, path.size() - 7));
            if (!scope_[slot].track) return {.tracks = true, .slot = slot};
        }
        Fail("unknown list \"" + path + "\" (albums or ALBUM.tracks)");
    }

    TTemplateTerm ParseSizeTerm() {
        Expect('(', "after @size");
        const TTemplateList list = ParseList();
        Expect(')', "at the end of @size");
        if (!list.tracks) return {.kind = TTemplateTerm::Kind::AlbumCount};
        return {.kind = TTemplateTerm::Kind::TrackCount, .index = list.slot};
    }

    TTemplateExpr ParseExpression() {
        TTemplateExpr expr;
        bool negative = false;
        for (;;) {
            SkipBlanks();
            TTemplateTerm term = ParseTerm();
            term.negative = negative;
            expr.push_back(term);
            SkipBlanks();
            if (Peek() != '+' && Peek() != '-') return expr;
            negative = Next() == '-';
        }
    }

    TTemplateTerm ParseTerm() {
        const char c = Peek();
        if (std::isdigit(static_cast<unsigned char>(c))) {
            int64_t number = 0;
            while (std::isdigit(static_cast<unsigned char>(Peek()))) {
                const int digit = Next() - '0';
                if (number > (INT64_MAX - digit) / 10) Fail("number too large");
                number = number * 10 + digit;
            }
            return {.number = number};
        }
        if (c == '@') {
            Next();
            if (ReadName() != "size") Fail("only @size may stand in an expression");
            return ParseSizeTerm();
        }
        if (IsNameStart(c)) {
            const std::string name = ReadName();
            auto it = variables_.find(name);
            if (it == variables_.end()) Fail("unknown variable \"" + name + "\"");
            return {.kind = TTemplateTerm::Kind::Variable, .index = it->second};
        }
        Fail(c == '\0' ? std::string("the template ends inside an expression")
                       : std::string("unexpected \"") + c + "\" in an expression");
    }

    std::string_view text_;
    size_t pos_ = 0;
    int line_ = 1;
    int nesting_ = 0;
    std::vector<Item> scope_;
    std::map<std::string, size_t, std::less<>> variables_;
};

TTemplate TTemplate::Compile(std::string_view text, const CommentSink& comment) {
    TTemplate result;
    try {
        TTemplateParser(text).Compile(result);
    } catch (const TParseError& error) {
        result.ok_ = false;
        result.root_.reset();
        if (comment) comment("Line " + std::to_string(error.line) + ": " + error.message);
    }
    return result;
}
