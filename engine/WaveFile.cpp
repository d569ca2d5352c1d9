// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/WaveFile.h"

#include "core/FileReplacement.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

int WriteAllTo(int fd, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            return ENOSPC;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return 0;
}

int WriteWholeFile(const std::string& path, const std::uint8_t* data, std::size_t size) {
    if (path.empty())
        return ENOENT;
    struct stat old {};
    if (::stat(path.c_str(), &old) == 0 && !S_ISREG(old.st_mode)) {
        if (S_ISDIR(old.st_mode))
            return EISDIR;
        // A FIFO or a device (also /dev/stdout, whatever it is): in place.
        const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
        if (fd < 0)
            return errno;
        const int error = WriteAllTo(fd, data, size);
        const int closed = ::close(fd) == 0 ? 0 : errno;
        return error ? error : closed;
    }
    return ReplaceFileContents(path, data, size);
}
