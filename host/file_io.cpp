#include "host/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>

std::vector<unsigned char> ReadWholeFile(FILE* file) {
    std::vector<unsigned char> bytes;
    for (;;) {
        std::size_t at = bytes.size();
        bytes.resize(at + kReadBlockSize);
        std::size_t got = std::fread(bytes.data() + at, 1, kReadBlockSize, file);
        bytes.resize(at + got);
        if (got < kReadBlockSize) break;
    }
    return bytes;
}

namespace {

std::string FolderOf(const std::string& path) {
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string NameOf(const std::string& path) { return path.substr(path.rfind('/') + 1); }

bool WriteAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Follows symbolic links at the end of path, so that renaming replaces the
// file they lead to and the links stay. Empty when they loop or one is too
// long to read.
std::string FollowLinks(std::string path) {
    constexpr int kMaxLinks = 40;  // as the kernel allows in one lookup
    for (int hops = 0; hops < kMaxLinks; ++hops) {
        char link[PATH_MAX];
        ssize_t n = ::readlink(path.c_str(), link, sizeof link);
        if (n <= 0) return path;  // not a link
        if (n == sizeof link) break;
        std::string to(link, static_cast<std::size_t>(n));
        path = to[0] == '/' ? to : FolderOf(path) + "/" + to;
    }
    return std::string();
}

// False when writing the file in place would be refused (no permission, a
// read-only file system) or when path holds anything but a plain file (a
// directory, a device, a pipe), which a rename must not replace. info is
// left zero for a file that does not exist yet.
bool MayOverwrite(const std::string& path, struct stat& info) {
    if (::stat(path.c_str(), &info) != 0) {
        info = {};
        return errno == ENOENT;
    }
    return S_ISREG(info.st_mode) && ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

// The replacement keeps the owner and permission bits of the file it
// replaces. Best effort: a file system without them still gets the bytes.
void KeepOwnerAndMode(int fd, const struct stat& old) {
    if (old.st_mode == 0) return;
    // Only root may give a file away; for anyone else (EPERM) the file
    // belongs to whoever saves, as a newly created one would.
    if (::fchown(fd, old.st_uid, old.st_gid) != 0 && errno != EPERM) return;
    ::fchmod(fd, old.st_mode & 07777);
}

// Makes the rename itself durable; failure here loses nothing already
// written, so it is not reported.
void SyncFolder(const std::string& folder) {
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

bool WriteSyncClose(int fd, const std::string& bytes) {
    bool ok = WriteAll(fd, bytes) && ::fsync(fd) == 0;
    return (::close(fd) == 0) && ok;
}

// The folder would not take a new file, but the existing file may be written.
bool FolderRefusesNewFiles(int error) { return error == EACCES || error == EPERM || error == EROFS; }

ReplaceResult WriteInPlace(const std::string& target, const std::string& bytes) {
    int fd = ::open(target.c_str(), O_WRONLY | O_TRUNC | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return ReplaceResult::kCannotCreate;
    return WriteSyncClose(fd, bytes) ? ReplaceResult::kWritten : ReplaceResult::kWriteFailed;
}

}  // namespace

std::string RandomNameSuffix() {
    unsigned char random[6] = {};
    if (::getentropy(random, sizeof random) != 0) {
        // No random source: a counter still gives the retries new names, and
        // the exclusive create still keeps planted links out.
        static unsigned counter = 0;
        return std::to_string(::getpid()) + "-" + std::to_string(++counter);
    }
    static const char kHex[] = "0123456789abcdef";
    std::string suffix;
    for (unsigned char byte : random) {
        suffix += kHex[byte >> 4];
        suffix += kHex[byte & 15];
    }
    return suffix;
}

int CreateTemporaryFile(const std::string& folder, const std::string& base, std::string& createdPath,
                        const std::function<std::string()>& nextSuffix) {
    constexpr int kTries = 100;
    for (int attempt = 0; attempt < kTries; ++attempt) {
        std::string candidate = folder + "/" + base + "." + nextSuffix() + ".tmp";
        // Exclusive and not through a link: a name planted by someone else
        // is passed over, never written through.
        int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0) {
            createdPath = candidate;
            return fd;
        }
        if (errno != EEXIST && errno != ELOOP) return -1;
    }
    errno = EEXIST;
    return -1;
}

ReplaceResult ReplaceFileContents(const std::string& path, const std::string& bytes) {
    std::string target = FollowLinks(path);
    struct stat old {};
    if (target.empty() || !MayOverwrite(target, old)) return ReplaceResult::kCannotCreate;
    std::string temp;
    int fd = CreateTemporaryFile(FolderOf(target), NameOf(target), temp, RandomNameSuffix);
    if (fd < 0) {
        bool exists = old.st_mode != 0;
        return exists && FolderRefusesNewFiles(errno) ? WriteInPlace(target, bytes) : ReplaceResult::kCannotCreate;
    }
    KeepOwnerAndMode(fd, old);
    bool ok = WriteSyncClose(fd, bytes);
    if (ok) ok = std::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return ReplaceResult::kWriteFailed;
    }
    SyncFolder(FolderOf(target));
    return ReplaceResult::kWritten;
}
