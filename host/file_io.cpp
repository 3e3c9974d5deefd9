#include "host/file_io.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
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

// Makes the rename itself durable; failure here loses nothing already
// written, so it is not reported.
void SyncFolder(const std::string& folder) {
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

ReplaceResult ReplaceFileContents(const std::string& path, const std::string& bytes) {
    // One temporary name per process, so two running copies never share one.
    std::string temp = path + "." + std::to_string(::getpid()) + ".tmp";
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return ReplaceResult::kCannotCreate;
    bool ok = WriteAll(fd, bytes) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok) ok = std::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return ReplaceResult::kWriteFailed;
    }
    SyncFolder(FolderOf(path));
    return ReplaceResult::kWritten;
}
