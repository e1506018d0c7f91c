#include "core/Log.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "core/FileDescriptor.h"
#include "core/ProgramFolder.h"

namespace {
bool g_logEnabled = false;

std::string Elapsed(int64_t ms) {
    return std::to_string(ms / 1000) + "s " + std::to_string(ms % 1000) + "ms";
}

std::string ListLine(const char* operation, int albums, int64_t ms) {
    return std::string(operation) + ", " + std::to_string(albums) + " list files, " + Elapsed(ms);
}

[[noreturn]] void ThrowLogError(int error, const std::string& path) {
    throw std::system_error(error, std::generic_category(), "Could not write " + path);
}
}  // namespace

void SetLogEnabled(bool enabled) {
    g_logEnabled = enabled;
}
bool LogEnabled() {
    return g_logEnabled;
}

void WriteLog(const std::string& line) {
    if (!g_logEnabled) return;
    const std::string path = ProgramFolder() + "mavelo.log";
    TFileDescriptor fd(open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644));
    if (!fd.IsOpen()) ThrowLogError(errno, path);
    // One write call per line, so that the line is appended whole.
    const std::string data = line + "\r\n";
    const ssize_t written = write(fd.Get(), data.data(), data.size());
    const int writeError = written < 0 ? errno : EIO;
    if (!fd.Close() && written == static_cast<ssize_t>(data.size())) ThrowLogError(errno, path);
    if (written != static_cast<ssize_t>(data.size())) ThrowLogError(writeError, path);
}

std::string LogLineLoad(int albums, int64_t elapsedMs) {
    return ListLine("Load", albums, elapsedMs);
}

std::string LogLineSave(int albums, int64_t elapsedMs) {
    return ListLine("Save", albums, elapsedMs);
}

std::string LogLineScan(bool full, int directories, int albums, int64_t elapsedMs) {
    return std::string("Scan, ") + (full ? "full, " : "fast, ") + std::to_string(directories) +
           " directories, " + std::to_string(albums) + " list files, " + Elapsed(elapsedMs);
}
