#include "tags/TagFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <exception>
#include <system_error>

#include "core/FileDescriptor.h"
#include "core/FileSystem.h"

// A pipe or device named like a track must not make opening wait forever.
TFileSource::TFileSource(const std::string& path)
    : fd_(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)) {
    struct stat st {};
    if (fd_.IsOpen() && (fstat(fd_.Get(), &st) != 0 || !S_ISREG(st.st_mode))) fd_.Reset();
    if (fd_.IsOpen()) size_ = st.st_size;
}

std::string TFileSource::ReadAt(int64_t offset, size_t count) const {
    std::string data;
    if (!fd_.IsOpen() || offset < 0 || offset >= size_) return data;
    count = static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(count), size_ - offset));
    data.resize(count);
    size_t done = 0;
    while (done < count) {
        ssize_t n =
            pread(fd_.Get(), data.data() + done, count - done, offset + static_cast<int64_t>(done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
    data.resize(done);
    return data;
}

std::string TMemorySource::ReadAt(int64_t offset, size_t count) const {
    if (offset < 0 || offset >= Size()) return {};
    return std::string(bytes_.substr(static_cast<size_t>(offset), count));
}

bool CanWriteFile(const std::string& path) {
    return FileExists(path) && access(path.c_str(), W_OK) == 0;
}

TWriteResult ReplaceFileSafely(const std::string& path, std::string_view data) {
    // The writers never override a file's protection.
    if (access(path.c_str(), W_OK) != 0) return TWriteResult::Failure("cannot write", path, errno);
    return WriteFileSafely(path, data);
}

TWriteResult RewriteWholeFile(const std::string& path, const TBytesRewrite& rewrite) {
    std::string data;
    try {
        data = ReadWholeFile(path);
    } catch (const std::system_error& e) {
        return TWriteResult::Failure("cannot read", path, e.code().value());
    }
    std::string out, problem;
    if (!rewrite(data, out, problem)) return TWriteResult::Failure(problem, path, 0);
    return ReplaceFileSafely(path, out);
}

bool ReadFileBytes(const std::string& path, std::string& data) {
    try {
        data = ReadWholeFile(path);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}
