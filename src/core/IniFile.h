#pragma once
// The settings file: sections opened by "[name]" lines holding "key=value"
// lines.  Section and key names compare without regard to A-Z case; values
// are text.  Everything the program does not know (other keys, other
// sections, comment lines) is kept in its order and written back, so a file
// shared with a newer or older version loses nothing.
//
// Section order: the file's own order is kept, and new sections are appended,
// unless an order rule is set (SetSectionOrder).  The settings writer sets
// one so that the sections always stand in the order the program writes
// them, even when other code (tool bars, browse presets) adds its sections
// after the main settings were written.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class TIniFile {
  public:
    // Reads the file, replacing what the object held.  Lines may end in
    // CR LF, LF or CR.  False (and an empty object) when the file is missing;
    // throws std::system_error when it exists but cannot be read.
    bool Load(const std::string& path);
    // Parses text as the contents of a settings file.
    void LoadFromText(std::string_view text);

    // Blanks around keys and values are not part of them.  A key of a section
    // that occurs twice is looked up in the first one.
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view fallback) const;
    // The decimal value; `fallback` when the key is missing or not a number.
    int ReadInteger(std::string_view section, std::string_view key, int fallback) const;
    // True only for exactly "1"; `fallback` when the key is missing.
    bool ReadBool(std::string_view section, std::string_view key, bool fallback) const;
    bool ValueExists(std::string_view section, std::string_view key) const;
    bool SectionExists(std::string_view section) const;
    // Keys of the section in file order.
    std::vector<std::string> ReadSection(std::string_view section) const;
    // Section names in file order.
    std::vector<std::string> Sections() const;

    // A key keeps its place when it exists; a new key goes to the end of its
    // section, a new section to its place (see SetSectionOrder) or the end.
    // CR and LF are left out of names and values: a line holds one value.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, int value);
    void WriteBool(std::string_view section, std::string_view key, bool value);  // "0" or "1"
    void DeleteKey(std::string_view section, std::string_view key);
    void EraseSection(std::string_view section);
    // Creates an empty section when there is none of that name.
    void AddSection(std::string_view section);

    // Orders the sections by rank (lower first, equal ranks keep their
    // order) now and places every section created later by its rank too.
    using SectionRank = std::function<int(std::string_view section)>;
    void SetSectionOrder(SectionRank rank);

    // The whole file as written: LF line ends.
    std::string ToText() const;
    // Writes the whole file safely (temporary file renamed over the old one);
    // throws std::system_error when it cannot be written.
    void Save(const std::string& path) const;

  private:
    struct Line {
        std::string key;    // empty for a line kept as written (a comment)
        std::string value;  // the value, or the whole line when kept as written
        bool keyed = false;
    };
    struct Section {
        std::string name;
        std::vector<Line> lines;
    };

    Section* FindSection(std::string_view name);
    const Section* FindSection(std::string_view name) const;
    Section& SectionForWriting(std::string_view name);
    const Line* FindLine(std::string_view section, std::string_view key) const;

    std::vector<Section> sections_;  // a nameless first section holds lines before any "[...]"
    SectionRank rank_;
};
