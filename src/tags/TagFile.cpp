#include "tags/TagFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <exception>

#include "core/FileDescriptor.h"
#include "core/FileSystem.h"

TFileSource::TFileSource(const std::string& path) : fd_(open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
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

bool WriteFileAt(const std::string& path, int64_t offset, std::string_view data) {
    if (!CanWriteFile(path)) return false;
    TFileDescriptor fd(open(path.c_str(), O_WRONLY | O_CLOEXEC));
    if (!fd.IsOpen()) return false;
    size_t done = 0;
    bool ok = true;
    while (ok && done < data.size()) {
        ssize_t n = pwrite(fd.Get(), data.data() + done, data.size() - done,
                           offset + static_cast<int64_t>(done));
        if (n < 0 && errno == EINTR) continue;
        ok = n > 0;
        if (ok) done += static_cast<size_t>(n);
    }
    ok = ok && fsync(fd.Get()) == 0;
    return fd.Close() && ok;
}

bool TruncateFile(const std::string& path, int64_t size) {
    return CanWriteFile(path) && truncate(path.c_str(), size) == 0;
}

bool ReplaceFileSafely(const std::string& path, std::string_view data) {
    if (!CanWriteFile(path)) return false;
    try {
        ReplaceFileContents(path, data);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool ReadFileBytes(const std::string& path, std::string& data) {
    try {
        data = ReadWholeFile(path);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}
