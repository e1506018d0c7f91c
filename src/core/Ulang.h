#pragma once
// Language files ("<name>.lng"): the messages code looks up by key (section
// "Global"), the texts of the windows (one section per window name) and the
// start-up tips (section "tips").  Format, one entry a line:
//   Section.Path.Property=text
// A line that is empty or starts with "/" is a comment.  Nothing is trimmed:
// "Global.AreYouSure =x" defines the key "AreYouSure " (with the blank).
// Files are UTF-8; a file that is not valid UTF-8 is read as Windows-1252.
// This is the model side; the windows apply the parsed lines themselves.
#include <string>
#include <string_view>
#include <vector>

#include "core/ReadSource.h"
#include "core/SafeWrite.h"

// Longest text a line gives, in bytes (never splitting a UTF-8 character).
constexpr size_t kLangTextLimit = 1024;

// One line of a language file, split.
struct LangLine {
    std::string section;                // everything before the first "." of the line
    std::vector<std::string> elements;  // the key part (before the first "=") split at "."
    std::string text;                   // after the first "=", cut to kLangTextLimit
    bool hasEquals = false;             // a line without "=" defines nothing
    bool isComment = false;             // empty or starting with "/"
};
LangLine ParseLangLine(std::string_view line);

// Names of the language files found (without ".lng"), sorted without regard
// to A-Z case, each name once.
std::vector<std::string>& LangList();
// Lines of the language file loaded last, in file order.
std::vector<std::string>& LangLines();
// Name of the language loaded last; "English" until one is loaded.
std::string& CurrentLanguage();

// The text of the first "Global.<key>=" line of the loaded file (key compared
// exactly), else `englishDefault`.
std::string LangText(std::string_view key, std::string_view englishDefault);

// "Could not rename x.m3u: File exists": the failure in the chosen language
// (`key`, with `english` when the language has none), the file and why.
std::string FailureMessage(const char* key, const char* english, const std::string& file,
                           const TWriteResult& result);

// Folders searched for language files, program folder first: each resource
// folder and its "lang" subfolder.
std::vector<std::string> LanguageFolders();
// Fills LangList from the "*.lng" files of LanguageFolders().
void ListLanguageFiles();
// Fills LangList from the "*.lng" files of the given folders.
void ListLanguageFilesIn(const std::vector<std::string>& folders);
// The path of the language file of that name, "" when there is none.
std::string LanguageFilePath(const std::string& name);
// Loads "<name>.lng" into LangLines and makes it the current language.  False,
// with nothing changed, when there is no such file; throws std::system_error
// when the file exists but cannot be read.
bool LoadLanguageFile(const std::string& name);
// Loads a language from its file or its bytes in memory into LangLines and
// makes `name` the current language; throws std::system_error when a file
// cannot be read.
void LoadLanguage(const TReadSource& source, const std::string& name);
// Replaces the list with the texts of the "tips" lines (any case) of LangLines.
void LoadTips(std::vector<std::string>& tips);
