#pragma once
// Moving and renaming files and folders for the playlist builder.  A move
// never replaces what is at the target, and never loses the source: across
// file systems a file is copied, the copy checked and only then the source
// deleted; a folder is not moved across file systems at all.
#include <string>

struct TWriteResult;

// The outcome of a file operation, with what the user is told on failure:
// LangText(Key + "1"), old path, LangText(Key + "2"), new path.
struct TBuilderResult {
    bool ok = true;
    std::string Key;  // "CouldNotMove", "CouldNotRename", "CouldNotConvert", "CouldNotAddAudio"
    std::string From;
    std::string To;
    std::string Why;  // the system's message, when the system refused

    explicit operator bool() const { return ok; }
    static TBuilderResult Success() { return {}; }
    static TBuilderResult Failure(std::string key, std::string from, std::string to = {});
    // A failure to write `playlist`, with the write's reason.
    static TBuilderResult WriteFailure(std::string key, std::string playlist,
                                       const TWriteResult& written);
    // "Could not move FROM to TO" in the chosen language ("" on success);
    // "Could not add audio files to PLAYLIST" for CouldNotAddAudio; then
    // ": why" when known.
    std::string Message() const;
};

// Moves a file or folder to `to` (a full path that must not exist yet).
TBuilderResult MoveFileOrFolder(const std::string& from, const std::string& to);
// The cross-file-system move of one regular file: copy beside the target
// under a temporary name, compare with the source, rename into place (never
// over an existing file), then delete the source.  On any failure the
// source is untouched and no copy is left behind.
bool MoveFileByCopying(const std::string& from, const std::string& to);

// Renames a file inside its folder without replacing another file.
TBuilderResult RenameFile(const std::string& from, const std::string& to);
