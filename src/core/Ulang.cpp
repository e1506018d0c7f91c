#include "core/Ulang.h"

#include <algorithm>
#include <filesystem>

#include "core/FileSystem.h"
#include "core/ProgramFolder.h"
#include "core/Ucommon.h"
#include "core/Utf8.h"

namespace {
constexpr std::string_view kExtension = ".lng";

bool LessIgnoringCase(const std::string& a, const std::string& b) {
    return LowerAscii(a) < LowerAscii(b);
}

// Adds the name at its sorted place unless it is there in any A-Z case.
void InsertLanguageName(std::vector<std::string>& list, const std::string& name) {
    auto at = std::lower_bound(list.begin(), list.end(), name, LessIgnoringCase);
    if (at != list.end() && SameTextAscii(*at, name)) return;
    list.insert(at, name);
}

void AddLanguageFilesOf(const std::string& folder, std::vector<std::string>& list) {
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (it->is_directory(ec) || name.size() <= kExtension.size() || !name.ends_with(kExtension))
            continue;
        InsertLanguageName(list, name.substr(0, name.size() - kExtension.size()));
    }
}

// Element 1 of a Global line's key part equals the key.
bool IsGlobalLineFor(const LangLine& line, std::string_view key) {
    return !line.isComment && line.hasEquals && line.section == "Global" &&
           line.elements.size() > 1 && line.elements[1] == key;
}
}  // namespace

LangLine ParseLangLine(std::string_view line) {
    LangLine result;
    if (line.empty() || line.front() == '/') {
        result.isComment = true;
        return result;
    }
    result.section = std::string(line.substr(0, line.find('.')));
    const auto equals = line.find('=');
    result.hasEquals = equals != std::string_view::npos;
    const std::string_view keyPart = line.substr(0, equals);
    for (size_t start = 0;;) {
        const auto dot = keyPart.find('.', start);
        result.elements.emplace_back(keyPart.substr(start, dot - start));
        if (dot == std::string_view::npos) break;
        start = dot + 1;
    }
    if (result.hasEquals) result.text = Utf8Prefix(line.substr(equals + 1), kLangTextLimit);
    return result;
}

std::vector<std::string>& LangList() {
    static std::vector<std::string> list;
    return list;
}

std::vector<std::string>& LangLines() {
    static std::vector<std::string> lines;
    return lines;
}

std::string& CurrentLanguage() {
    static std::string language = "English";
    return language;
}

std::string LangText(std::string_view key, std::string_view englishDefault) {
    // No cache: a lookup reads the lines as they are now.
    for (const auto& raw : LangLines()) {
        // Cheap test first: most lines belong to windows.
        if (!raw.starts_with("Global.")) continue;
        LangLine line = ParseLangLine(raw);
        if (IsGlobalLineFor(line, key)) return std::move(line.text);
    }
    return std::string(englishDefault);
}

std::string FailureMessage(const char* key, const char* english, const std::string& file,
                           const TWriteResult& result) {
    return LangText(key, english) + " " + file + ": " + result.Why();
}

std::vector<std::string> LanguageFolders() {
    std::vector<std::string> folders;
    for (const auto& folder : ResourceFolders()) {
        // The build copies the shipped language files to a "lang" folder.
        for (std::string candidate : {folder, folder + "lang/"})
            if (std::find(folders.begin(), folders.end(), candidate) == folders.end())
                folders.push_back(std::move(candidate));
    }
    return folders;
}

void ListLanguageFiles() {
    ListLanguageFilesIn(LanguageFolders());
}

void ListLanguageFilesIn(const std::vector<std::string>& folders) {
    auto& list = LangList();
    list.clear();
    for (const auto& folder : folders) AddLanguageFilesOf(folder, list);
}

std::string LanguageFilePath(const std::string& name) {
    if (name.empty() || name.find('/') != std::string::npos) return {};
    for (const auto& folder : LanguageFolders()) {
        std::string path = folder + name + std::string(kExtension);
        if (FileExists(path)) return path;
    }
    return {};
}

bool LoadLanguageFile(const std::string& name) {
    const std::string path = LanguageFilePath(name);
    if (path.empty()) return false;
    LoadLanguage(path, name);
    return true;
}

void LoadLanguage(const TReadSource& source, const std::string& name) {
    std::string text = ToUtf8(source.ReadAll());
    if (text.starts_with("\xEF\xBB\xBF")) text.erase(0, 3);  // a byte-order mark is no text
    std::vector<std::string> lines;
    for (std::string_view line : SplitLines(text)) lines.emplace_back(line);
    LangLines() = std::move(lines);
    CurrentLanguage() = name;
}

void LoadTips(std::vector<std::string>& tips) {
    tips.clear();
    for (const auto& raw : LangLines()) {
        const LangLine line = ParseLangLine(raw);
        if (!line.isComment && line.hasEquals && LowerAscii(line.section) == "tips")
            tips.push_back(line.text);
    }
}
