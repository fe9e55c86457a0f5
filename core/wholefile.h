#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Why a file could not be read or written.
struct FileError {
    enum class Kind { System, NotRegular, TooLarge };
    Kind kind = Kind::System;
    int code = 0;       // errno, for a System failure
    std::string folder; // when a new file could not be made in this folder, which is the cause

    // In English: "No such file or directory", "cannot create a file in /srv: Permission
    // denied", "not a regular file", "larger than 1 MiB".
    std::string text() const;
};

// Writes `content` to `path` whole or not at all, as the shell's `>` would write it but never
// leaving part of it:
// - /dev/stdout, /dev/stderr, /dev/fd/N and /proc/self/fd/N are written through descriptor N
//   itself, which is never opened again by its name (so `>> log` keeps what log held);
// - a path that is not a regular file once its links are followed (a device, a pipe, a socket)
//   is opened without truncating and takes the content as it comes;
// - a regular file, named directly or through a link (also one to a file not there yet), is
//   written into a temporary file beside it, flushed to the disk and renamed over it; the link
//   stays a link, the file keeps its permissions and, where the system permits, its owner and
//   group; a file the shell would refuse to write (read-only for this user) is refused.
// On failure the old file is as it was and the temporary file is gone. A name that holds a NUL
// byte names no file (the system would take it up to the NUL): EINVAL, here and when reading.
std::optional<FileError> writeWholeFile(const std::string& path, std::string_view content);

// Reads a whole file into `content`, refusing one larger than `limit`, and with
// `regularOnly` any that is not a regular file (a pipe would keep a window waiting for good; a
// device such as /dev/zero would never end), before reading it.
inline constexpr std::size_t kLargestReadFile = std::size_t{1} << 20;
// Bytes read from a descriptor at a time.
inline constexpr std::size_t kReadBlock = std::size_t{1} << 16;
std::optional<FileError> readWholeFile(const std::string& path, std::string& content,
                                       bool regularOnly, std::size_t limit = kLargestReadFile);
