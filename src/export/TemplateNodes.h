#pragma once
// The compiled form of a template (internal to the engine).
#include <cstdint>
#include <string>
#include <vector>

// Values an item in hand provides.  Album fields first, then track fields.
enum class TTemplateField {
    Artist,
    Album,
    Genre,
    Year,
    PlaylistPath,
    CoverPath,
    PlaylistUrl,
    CoverUrl,
    Title,
    TrackPath,
    TrackUrl,
};

inline bool IsTrackField(TTemplateField field) {
    return field >= TTemplateField::Title;
}

// One term of an integer expression: a number, a variable or a list's size.
struct TTemplateTerm {
    enum class Kind { Number, Variable, AlbumCount, TrackCount } kind = Kind::Number;
    bool negative = false;
    int64_t number = 0;
    size_t index = 0;  // the variable, or the slot of the album whose tracks count
};

using TTemplateExpr = std::vector<TTemplateTerm>;

// What a foreach walks.
struct TTemplateList {
    bool tracks = false;  // false: all albums; true: the tracks of the album in `slot`
    size_t slot = 0;
};

struct TTemplateNode {
    enum class Kind {
        Sequence,  // children in order
        Text,
        Field,     // `field` of the item in `slot`
        Variable,  // the value of `index`
        Size,      // the value of `value` as text
        Set,       // variable `index` := `value`
        Progress,  // progress(`value`, `maximum`)
        Foreach,   // children once per item of `list`, bound to slot `slot`
        IfField,   // children when `field` of `slot` is not blank
        IfVariable,
    } kind = Kind::Sequence;
    std::string text;
    TTemplateField field = TTemplateField::Artist;
    size_t slot = 0;
    size_t index = 0;
    TTemplateExpr value;
    TTemplateExpr maximum;
    TTemplateList list;
    std::vector<TTemplateNode> children;
};
