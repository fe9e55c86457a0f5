#include "wholefile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
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
        if (n < 0 && errno != EINTR) {
            return errno;
        }
        written += n > 0 ? static_cast<std::size_t>(n) : 0;
    }
    return 0;
}

} // namespace

std::optional<std::string> writeWholeFile(const std::string& given, std::string_view content) {
    // through a link to the file it names; a device or a pipe takes the content as it comes
    char resolved[PATH_MAX];
    const std::string path = ::realpath(given.c_str(), resolved) ? resolved : given;
    struct stat old {};
    const bool exists = ::stat(path.c_str(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode)) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
        int error = fd < 0 ? errno : writeAll(fd, content);
        if (fd >= 0 && ::close(fd) != 0 && error == 0) {
            error = errno;
        }
        return error ? std::optional<std::string>(std::strerror(error)) : std::nullopt;
    }
    std::string temporary = path + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        return std::strerror(errno);
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
        return std::strerror(error);
    }
    return std::nullopt;
}

std::optional<std::string> readWholeFile(const std::string& path, std::string& content) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat status {};
    int error = fd < 0                      ? errno
                : ::fstat(fd, &status) != 0 ? errno
                : S_ISDIR(status.st_mode)   ? EISDIR
                                            : 0;
    content.clear();
    char buffer[1 << 16];
    while (error == 0) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) {
            content.append(buffer, static_cast<std::size_t>(n));
        } else if (n == 0) {
            break;
        } else if (errno != EINTR) {
            error = errno;
        }
    }
    if (fd >= 0) {
        ::close(fd);
    }
    return error ? std::optional<std::string>(std::strerror(error)) : std::nullopt;
}
