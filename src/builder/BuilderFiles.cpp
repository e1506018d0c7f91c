// File and folder moves of the playlist builder.
#include "builder/BuilderFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "core/FileSystem.h"
#include "core/TempFiles.h"
#include "core/Ulang.h"

TBuilderResult TBuilderResult::Failure(std::string key, std::string from, std::string to) {
    TBuilderResult result;
    result.ok = false;
    result.Key = std::move(key);
    result.From = std::move(from);
    result.To = std::move(to);
    return result;
}

TBuilderResult TBuilderResult::WriteFailure(std::string key, std::string playlist,
                                            const TWriteResult& written) {
    TBuilderResult result = Failure(std::move(key), std::move(playlist));
    result.Why = written.Why();
    return result;
}

std::string TBuilderResult::Message() const {
    if (ok) return {};
    const std::string why = Why.empty() ? std::string() : ": " + Why;
    if (Key == "CouldNotAddAudio")
        return LangText("CouldNotAddAudio", "Could not add audio files to") + " " + From + why;
    const char* first = Key == "CouldNotRename"    ? "Could not rename"
                        : Key == "CouldNotConvert" ? "Could not convert"
                                                   : "Could not move";
    return LangText(Key + "1", first) + " " + From + " " + LangText(Key + "2", "to") + " " + To +
           why;
}

namespace {

bool WriteAll(int fd, const std::string& data) {
    size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// Copies `from` to a new temporary file in the target's folder; returns its
// name, or "" when the copy could not be made.
std::string CopyBesideTarget(const std::string& from, const std::string& to,
                             const std::string& data) {
    std::string temp;
    const int fd = CreateTemporaryFileBeside(to, temp);
    if (fd < 0) return {};
    struct stat source {};
    bool ok = stat(from.c_str(), &source) == 0 && WriteAll(fd, data) && fsync(fd) == 0;
    if (ok) fchmod(fd, source.st_mode & 07777);
    ok = close(fd) == 0 && ok;
    if (!ok) {
        unlink(temp.c_str());
        return {};
    }
    return temp;
}

}  // namespace

bool MoveFileByCopying(const std::string& from, const std::string& to) {
    if (!FileExists(from) || FileExists(to) || DirectoryExists(to)) return false;
    std::string data;
    try {
        data = ReadWholeFile(from);
    } catch (const std::system_error&) {
        return false;
    }
    const std::string temp = CopyBesideTarget(from, to, data);
    if (temp.empty()) return false;
    bool verified = false;
    try {
        verified = ReadWholeFile(temp) == data;
    } catch (const std::system_error&) {
    }
    if (!verified || !RenameWithoutReplacing(temp, to)) {
        unlink(temp.c_str());
        return false;
    }
    // Only now that the copy stands in its place does the source go; when it
    // cannot, the copy goes instead, so the file is never in two places.
    if (unlink(from.c_str()) != 0) {
        unlink(to.c_str());
        return false;
    }
    return true;
}

TBuilderResult MoveFileOrFolder(const std::string& from, const std::string& to) {
    if (RenameWithoutReplacing(from, to)) return TBuilderResult::Success();
    // Across file systems only single files move; a folder is refused
    // whole rather than left half-moved.
    if (errno == EXDEV && FileExists(from) && MoveFileByCopying(from, to))
        return TBuilderResult::Success();
    return TBuilderResult::Failure("CouldNotMove", from, to);
}

TBuilderResult RenameFile(const std::string& from, const std::string& to) {
    if (RenameWithoutReplacing(from, to)) return TBuilderResult::Success();
    return TBuilderResult::Failure("CouldNotRename", from, to);
}
