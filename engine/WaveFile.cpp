#include "engine/WaveFile.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <unistd.h>

namespace {

// Opens a new file next to `path` with a name no one else uses.
int CreateTemporary(const std::string& path, std::string& tempPath) {
    const std::filesystem::path target(path);
    const std::filesystem::path folder = target.parent_path();
    std::random_device seed;
    std::mt19937 rng(seed());
    for (int attempt = 0; attempt < 32; ++attempt) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, ".%08x.tmp", static_cast<unsigned>(rng()));
        std::string name(1, '.');
        name.append(target.filename().string()).append(suffix);
        tempPath = (folder.empty() ? std::filesystem::path(name) : folder / name).string();
        const int fd = ::open(tempPath.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

bool WriteAll(int fd, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false; // an error, or a device that takes nothing more
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

bool WriteWholeFile(const std::string& path, const std::uint8_t* data, std::size_t size) {
    if (path.empty())
        return false;
    std::string tempPath;
    const int fd = CreateTemporary(path, tempPath);
    if (fd < 0)
        return false;
    bool ok = WriteAll(fd, data, size);
    ok = (::fsync(fd) == 0) && ok;
    ok = (::close(fd) == 0) && ok;
    if (ok && std::rename(tempPath.c_str(), path.c_str()) == 0)
        return true;
    ::unlink(tempPath.c_str());
    return false;
}
