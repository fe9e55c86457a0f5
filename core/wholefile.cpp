#include "wholefile.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The mode a new file gets: read and write for all, less the process's mask.
mode_t newFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Writes all of `content`, or says why not.
int writeAll(int fd, std::string_view content) {
    for (std::size_t written = 0; written < content.size();) {
        const ssize_t n = ::write(fd, content.data() + written, content.size() - written);
        if (n == -1) {
            if (errno != EINTR) {
                return errno;
            }
            continue;
        }
        written += static_cast<std::size_t>(n);
    }
    return 0;
}

std::optional<FileError> failure(int code, std::string folder = {}) {
    if (code == 0) {
        return std::nullopt;
    }
    return FileError{FileError::Kind::System, code, std::move(folder)};
}

// The descriptor a name stands for (/dev/stdout, /dev/stderr, /dev/fd/N, /proc/self/fd/N), or -1.
int descriptorNamed(std::string_view path) {
    if (path == "/dev/stdout") {
        return 1;
    }
    if (path == "/dev/stderr") {
        return 2;
    }
    for (const std::string_view folder : {"/dev/fd/", "/proc/self/fd/"}) {
        if (path.starts_with(folder) && path.size() > folder.size() &&
            path.size() - folder.size() <= 9 &&
            path.find_first_not_of("0123456789", folder.size()) == std::string_view::npos) {
            int fd = 0;
            for (const char digit : path.substr(folder.size())) {
                fd = fd * 10 + (digit - '0');
            }
            return fd;
        }
    }
    return -1;
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

// `path` with its links followed as open(2) follows them, also to a file that is not there yet.
int followLinks(std::string& path) {
    for (int links = 0;; ++links) {
        struct stat status {};
        if (::lstat(path.c_str(), &status) != 0) {
            return errno == ENOENT ? 0 : errno; // no file there yet: it is to be made
        }
        if (!S_ISLNK(status.st_mode)) {
            return 0;
        }
        if (links == 40) { // the most Linux follows
            return ELOOP;
        }
        char target[PATH_MAX];
        const ssize_t n = ::readlink(path.c_str(), target, sizeof target);
        if (n < 0 || static_cast<std::size_t>(n) >= sizeof target) {
            return n < 0 ? errno : ENAMETOOLONG;
        }
        const std::string to(target, static_cast<std::size_t>(n));
        path = to.starts_with('/') ? to : folderOf(path) + "/" + to;
    }
}

// A name for the temporary file beside `name` in `folder` that the system takes whatever the
// length of `name`: ".NAME.XXXXXX", the name cut to fit (at a character's start).
std::string temporaryName(const std::string& folder, std::string_view name) {
    constexpr std::size_t kLongestName = NAME_MAX - 8; // "." and ".XXXXXX"
    if (name.size() > kLongestName) {
        std::size_t cut = kLongestName;
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) {
            --cut;
        }
        name = name.substr(0, cut);
    }
    return folder + "/." + std::string(name) + ".XXXXXX";
}

// Written to a descriptor or a device as it comes.
std::optional<FileError> writeThrough(int fd, std::string_view content, bool owned) {
    int error = ::fcntl(fd, F_GETFL) < 0 ? errno : writeAll(fd, content);
    if (owned && ::close(fd) != 0 && error == 0) {
        error = errno;
    }
    return failure(error);
}

} // namespace

std::string FileError::text() const {
    switch (kind) {
    case Kind::NotRegular:
        return "not a regular file";
    case Kind::TooLarge:
        return "larger than " + std::to_string(kLargestReadFile >> 20) + " MiB";
    case Kind::System:
        break;
    }
    const std::string reason = std::strerror(code);
    return folder.empty() ? reason : "cannot create a file in " + folder + ": " + reason;
}

std::optional<FileError> writeWholeFile(const std::string& given, std::string_view content) {
    if (given.find('\0') != std::string::npos) { // the system would take the name up to it
        return failure(EINVAL);
    }
    if (const int fd = descriptorNamed(given); fd >= 0) {
        return writeThrough(fd, content, false);
    }
    std::string path = given;
    if (const int error = followLinks(path)) {
        return failure(error);
    }
    struct stat old {};
    const bool exists = ::stat(path.c_str(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode)) {
        return failure(EISDIR);
    }
    if (exists && !S_ISREG(old.st_mode)) { // a pipe with no reader refuses at once
        const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
        if (fd < 0) {
            return failure(errno);
        }
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        return writeThrough(fd, content, true);
    }
    // what the shell's `>` refuses: a file this user may not write
    if (exists && ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) {
        return failure(errno);
    }
    const std::string folder = folderOf(path);
    std::string temporary = temporaryName(folder, path.substr(path.rfind('/') + 1));
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        const int error = errno;
        char here[PATH_MAX];
        return failure(error, folder == "." && ::getcwd(here, sizeof here) ? here : folder);
    }
    if (exists) { // another user's file stays theirs where the system lets us say so
        static_cast<void>(::fchown(fd, old.st_uid, old.st_gid) == 0 ||
                          ::fchown(fd, static_cast<uid_t>(-1), old.st_gid) == 0);
    }
    int error = ::fchmod(fd, exists ? old.st_mode & 07777 : newFileMode()) == 0 ? 0 : errno;
    if (error == 0) {
        error = writeAll(fd, content);
    }
    if (error == 0 && ::fsync(fd) != 0) {
        error = errno;
    }
    if (::close(fd) != 0 && error == 0) {
        error = errno;
    }
    if (error == 0 && ::rename(temporary.c_str(), path.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(temporary.c_str());
        return failure(error);
    }
    // the new name on the disk too; the file is in place whatever this says
    if (const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return std::nullopt;
}

std::optional<FileError> readWholeFile(const std::string& path, std::string& content,
                                       bool regularOnly, std::size_t limit) {
    content.clear();
    if (path.find('\0') != std::string::npos) {
        return failure(EINVAL);
    }
    // without waiting for a writer: a pipe is then refused, not waited on
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | (regularOnly ? O_NONBLOCK : 0));
    if (fd == -1) {
        return failure(errno);
    }
    struct stat status {};
    std::optional<FileError> error;
    if (::fstat(fd, &status) != 0) {
        error = failure(errno);
    } else if (S_ISDIR(status.st_mode)) {
        error = failure(EISDIR);
    } else if (regularOnly && !S_ISREG(status.st_mode)) {
        error = FileError{FileError::Kind::NotRegular, 0, {}};
    } else if (S_ISREG(status.st_mode) && static_cast<std::size_t>(status.st_size) > limit) {
        error = FileError{FileError::Kind::TooLarge, 0, {}};
    }
    if (!error && S_ISREG(status.st_mode)) {
        content.reserve(static_cast<std::size_t>(status.st_size));
    }
    char buffer[kReadBlock];
    while (!error) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) {
            content.append(buffer, static_cast<std::size_t>(n));
            if (content.size() > limit) { // a file that grows, or a device without end
                error = FileError{FileError::Kind::TooLarge, 0, {}};
            }
        } else if (n == 0) {
            break;
        } else if (errno != EINTR) {
            error = failure(errno);
        }
    }
    ::close(fd);
    if (error) {
        content.clear();
        content.shrink_to_fit();
    }
    return error;
}
