// Whole-file reading and the crash-safe replacement of a file, for the
// host's file operations. Plain C library and POSIX calls, no Strings.
#pragma once
#include <cstddef>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

constexpr std::size_t kReadBlockSize = 4096;

// Reads blocks of kReadBlockSize bytes until a read returns fewer; the bytes
// read, joined in order. Does not close the file.
std::vector<unsigned char> ReadWholeFile(FILE* file);

enum class ReplaceResult {
    kWritten,
    kCannotCreate,  // path may not be overwritten, or the temporary file could not be created
    kWriteFailed,   // short write, failed flush or sync, or failed rename
};

// Replaces the file at path with bytes so that the file holds either its old
// content or all of the new one, whatever happens: the bytes go to a
// temporary file in the same folder, which is flushed to disk and then
// renamed over path. On failure the temporary file is removed and path is
// left as it was. Refuses what writing the file in place would refuse (a
// read-only file, a directory) and anything but a plain file; a symbolic
// link stays a link and the file it leads to is replaced. The new file keeps
// the old one's owner and permission bits.
//
// When the folder refuses new files (no write permission) but the file
// exists and may be written, it is rewritten in place instead (truncated,
// written, synced): a system-wide install with a record made for the player
// still saves, without the all-or-nothing guarantee.
ReplaceResult ReplaceFileContents(const std::string& path, const std::string& bytes);

// Creates a new file for writing in folder, named base + "." + a suffix +
// ".tmp", with a fresh suffix from nextSuffix after every name that
// exists already (a file, or a link, which is never followed). -1 with errno
// set when no name is free after a hundred tries or the folder refuses.
int CreateTemporaryFile(const std::string& folder, const std::string& base, std::string& createdPath,
                        const std::function<std::string()>& nextSuffix);

// Twelve hex digits from the system's random source: a name other users of
// a shared folder cannot plant in advance.
std::string RandomNameSuffix();
