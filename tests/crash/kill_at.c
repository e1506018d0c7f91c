/* Preloaded into a program under test: counts the calls that change files
 * (write, pwrite, writev, fsync, ftruncate, rename, link, unlink) and, when the
 * count reaches MAVELO_KILL_AT, kills the process with SIGKILL right there --
 * a write is cut in half first, as a crash in the middle of it would leave
 * it.  Without MAVELO_KILL_AT nothing is killed; MAVELO_KILL_COUNT names a
 * file that receives the number of calls at exit, to learn the range. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/uio.h>
#include <unistd.h>

static long calls;
static long kill_at = -1;

__attribute__((constructor)) static void start(void) {
    const char* at = getenv("MAVELO_KILL_AT");
    if (at && *at) kill_at = atol(at);
}

__attribute__((destructor)) static void stop(void) {
    const char* path = getenv("MAVELO_KILL_COUNT");
    if (!path || !*path) return;
    FILE* f = fopen(path, "w");
    if (!f) return;
    fprintf(f, "%ld\n", calls);
    fclose(f);
}

/* True when this call is the one to die at. */
static int reached(void) {
    return ++calls == kill_at;
}

static void die(void) {
    raise(SIGKILL);
}

#define NEXT(name) ((__typeof__(&name))dlsym(RTLD_NEXT, #name))

ssize_t write(int fd, const void* data, size_t count) {
    if (reached()) {
        if (count > 1) NEXT(write)(fd, data, count / 2);
        die();
    }
    return NEXT(write)(fd, data, count);
}

ssize_t pwrite(int fd, const void* data, size_t count, off_t offset) {
    if (reached()) {
        if (count > 1) NEXT(pwrite)(fd, data, count / 2, offset);
        die();
    }
    return NEXT(pwrite)(fd, data, count, offset);
}

ssize_t pwrite64(int fd, const void* data, size_t count, off_t offset) {
    if (reached()) {
        if (count > 1) NEXT(pwrite64)(fd, data, count / 2, offset);
        die();
    }
    return NEXT(pwrite64)(fd, data, count, offset);
}

ssize_t writev(int fd, const struct iovec* parts, int n) {
    if (reached()) {
        if (n > 0 && parts[0].iov_len > 1) NEXT(write)(fd, parts[0].iov_base, parts[0].iov_len / 2);
        die();
    }
    return NEXT(writev)(fd, parts, n);
}

int fsync(int fd) {
    if (reached()) die();
    return NEXT(fsync)(fd);
}

int ftruncate(int fd, off_t size) {
    if (reached()) die();
    return NEXT(ftruncate)(fd, size);
}

int rename(const char* from, const char* to) {
    if (reached()) die();
    return NEXT(rename)(from, to);
}

int renameat2(int fromDir, const char* from, int toDir, const char* to, unsigned flags) {
    if (reached()) die();
    return NEXT(renameat2)(fromDir, from, toDir, to, flags);
}

int link(const char* from, const char* to) {
    if (reached()) die();
    return NEXT(link)(from, to);
}

int linkat(int fromDir, const char* from, int toDir, const char* to, int flags) {
    if (reached()) die();
    return NEXT(linkat)(fromDir, from, toDir, to, flags);
}

int unlink(const char* path) {
    if (reached()) die();
    return NEXT(unlink)(path);
}
