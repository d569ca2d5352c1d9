#include "engine/WaveFile.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// The file a chain of symbolic links ends at, so that the link itself stays
// a link and the file it names gets the new contents. A dangling link gives
// the name it points to; a loop gives an empty path.
fs::path FollowLinks(fs::path path) {
    for (int hop = 0; hop < 40; ++hop) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(path, error)))
            return path;
        const fs::path target = fs::read_symlink(path, error);
        if (error)
            return {};
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    return {};
}

// Opens a new file next to `path` with a name no one else uses.
int CreateTemporary(const fs::path& target, std::string& tempPath) {
    const fs::path folder = target.parent_path();
    std::random_device seed;
    std::mt19937 rng(seed());
    for (int attempt = 0; attempt < 32; ++attempt) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, ".%08x.tmp", static_cast<unsigned>(rng()));
        std::string name(1, '.');
        name.append(target.filename().string()).append(suffix);
        tempPath = (folder.empty() ? fs::path(name) : folder / name).string();
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

// The replacement takes over the old file's owner and mode. Only a
// privileged process may give a file away, so a refused change of owner is
// no failure; the mode is set after it because a change of owner clears the
// set-user and set-group bits.
void KeepOwnerAndMode(int fd, const struct stat& old) {
    if (::fchown(fd, old.st_uid, old.st_gid) != 0)
        (void)!::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
    (void)!::fchmod(fd, old.st_mode & 07777);
}

// For a file that cannot be replaced: a FIFO, a device, or a file whose
// folder cannot take a temporary file.
bool WriteInPlace(const fs::path& path, bool truncate, const std::uint8_t* data, std::size_t size) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | (truncate ? O_TRUNC : 0));
    if (fd < 0)
        return false;
    bool ok = WriteAll(fd, data, size);
    if (truncate)
        ok = (::fsync(fd) == 0) && ok;
    return (::close(fd) == 0) && ok;
}

bool FolderRefusesNewFiles(int error) {
    return error == EACCES || error == EPERM || error == EROFS;
}

} // namespace

bool WriteWholeFile(const std::string& path, const std::uint8_t* data, std::size_t size) {
    if (path.empty())
        return false;
    const fs::path target = FollowLinks(path);
    if (target.empty())
        return false;
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode))
        return false;
    if (exists && !S_ISREG(old.st_mode))
        return WriteInPlace(target, false, data, size);

    std::string tempPath;
    const int fd = CreateTemporary(target, tempPath);
    if (fd < 0)
        return exists && FolderRefusesNewFiles(errno) && WriteInPlace(target, true, data, size);
    if (exists)
        KeepOwnerAndMode(fd, old);
    bool ok = WriteAll(fd, data, size);
    ok = (::fsync(fd) == 0) && ok;
    ok = (::close(fd) == 0) && ok;
    if (ok && std::rename(tempPath.c_str(), target.c_str()) == 0)
        return true;
    ::unlink(tempPath.c_str());
    return false;
}
