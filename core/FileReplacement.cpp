// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/FileReplacement.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <pthread.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Old contents larger than this are not kept in memory for putting back.
constexpr off_t kLargestBackup = off_t(256) << 20;

class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return fd_; }
    // Closes now, so that a failure to store the last bytes is seen.
    int Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0 ? 0 : errno;
    }

private:
    int fd_;
};

// While a temporary file has a name, the signals that end the program by
// default wait: they take effect when the name is gone again, so no signal
// leaves a temporary file behind.
class EndingSignalsHeld {
public:
    EndingSignalsHeld() {
        sigset_t held;
        sigemptyset(&held);
        for (int s : {SIGINT, SIGTERM, SIGHUP, SIGQUIT})
            sigaddset(&held, s);
        pthread_sigmask(SIG_BLOCK, &held, &previous_);
    }
    ~EndingSignalsHeld() { pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }
    EndingSignalsHeld(const EndingSignalsHeld&) = delete;
    EndingSignalsHeld& operator=(const EndingSignalsHeld&) = delete;

private:
    sigset_t previous_;
};

// The regular file a chain of symbolic links ends at, so that the link
// itself stays a link and the file it names gets the new contents. A
// dangling link gives the name it points to; a loop gives an empty path.
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

fs::path FolderOf(const fs::path& target) {
    const fs::path folder = target.parent_path();
    return folder.empty() ? fs::path(".") : folder;
}

int PWriteAll(int fd, const std::uint8_t* data, std::size_t size, off_t at) {
    while (size > 0) {
        const ssize_t n = ::pwrite(fd, data, size, at);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            return ENOSPC; // a device that takes nothing more
        data += n;
        size -= static_cast<std::size_t>(n);
        at += n;
    }
    return 0;
}

bool ReadAll(int fd, std::vector<std::uint8_t>& into) {
    std::size_t done = 0;
    while (done < into.size()) {
        const ssize_t n = ::pread(fd, into.data() + done, into.size() - done, off_t(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
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

// A replacement would change the owner of someone else's file: it is
// written in place instead, as the shell's `>` would.
bool OwnerCanBeKept(const struct stat& old) {
    return ::geteuid() == 0 || old.st_uid == ::geteuid();
}

std::string RandomName(const fs::path& folder) {
    static std::mt19937 rng{std::random_device{}()};
    char name[32];
    std::snprintf(name, sizeof name, ".orbel-%08x.tmp", static_cast<unsigned>(rng()));
    return (folder / name).string();
}

// Gives the written temporary file `fd` the target's name. Fails with
// EXDEV when the unnamed file cannot be linked (no /proc), so that the
// caller writes through a named one.
int LinkOver(int fd, const fs::path& target) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    EndingSignalsHeld held;
    for (int attempt = 0; attempt < 32; ++attempt) {
        const std::string name = RandomName(FolderOf(target));
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) != 0) {
            if (errno == EEXIST)
                continue;
            return errno == ENOENT ? EXDEV : errno;
        }
        if (std::rename(name.c_str(), target.c_str()) == 0)
            return 0;
        const int error = errno;
        ::unlink(name.c_str());
        return error;
    }
    return EEXIST;
}

struct Outcome {
    int error = 0;
    bool inPlace = false; // the folder takes no new file, or the name can't be replaced
};

bool FolderRefuses(int error) {
    return error == EACCES || error == EPERM || error == EROFS;
}

int WriteAndKeep(int fd, const struct stat* old, const std::uint8_t* data, std::size_t size) {
    if (old)
        KeepOwnerAndMode(fd, *old);
    if (const int error = PWriteAll(fd, data, size, 0))
        return error;
    return ::fsync(fd) == 0 ? 0 : errno;
}

// Through an unnamed file, linked in once complete.
Outcome ReplaceUnnamed(const fs::path& target, const struct stat* old, const std::uint8_t* data,
                       std::size_t size, bool& unsupported) {
    Descriptor fd(::open(FolderOf(target).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
    if (fd.Get() < 0) {
        const int error = errno;
        unsupported = error == EOPNOTSUPP || error == EISDIR || error == EINVAL;
        return {error, old && FolderRefuses(error)};
    }
    if (const int error = WriteAndKeep(fd.Get(), old, data, size))
        return {error, false};
    const int error = LinkOver(fd.Get(), target);
    unsupported = error == EXDEV;
    return {error, old && FolderRefuses(error)};
}

// Through a named file, on file systems without unnamed ones; the ending
// signals wait while it exists.
Outcome ReplaceNamed(const fs::path& target, const struct stat* old, const std::uint8_t* data,
                     std::size_t size) {
    EndingSignalsHeld held;
    std::string name;
    int fd = -1;
    for (int attempt = 0; attempt < 32 && fd < 0; ++attempt) {
        name = RandomName(FolderOf(target));
        fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return {errno, old && FolderRefuses(errno)};
    }
    if (fd < 0)
        return {EEXIST, false};
    Descriptor file(fd);
    int error = WriteAndKeep(fd, old, data, size);
    if (const int closed = file.Close(); !error)
        error = closed;
    if (!error && std::rename(name.c_str(), target.c_str()) == 0)
        return {0, false};
    if (!error)
        error = errno;
    ::unlink(name.c_str());
    return {error, old && FolderRefuses(error)};
}

// Overwrites the file open as `fd` once its whole new length is reserved,
// then cuts it to size. A failure before the first byte leaves it as it
// was; a failure after puts back the old contents where they could be read.
int WriteInPlace(int fd, bool readable, const struct stat& old, const std::uint8_t* data,
                 std::size_t size) {
    if (size > 0 && ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, off_t(size)) != 0) {
        const int error = errno;
        // Without reservations, a file that does not grow needs no space.
        if (error != EOPNOTSUPP || off_t(size) > old.st_size) {
            (void)!::ftruncate(fd, old.st_size); // let go of what was reserved
            return error;
        }
    }
    std::vector<std::uint8_t> backup;
    bool haveBackup = false;
    if (readable && old.st_size <= kLargestBackup) {
        backup.resize(std::size_t(old.st_size));
        haveBackup = ReadAll(fd, backup);
    }
    int error = PWriteAll(fd, data, size, 0);
    if (!error && ::ftruncate(fd, off_t(size)) != 0)
        error = errno;
    if (!error && ::fsync(fd) != 0)
        error = errno;
    if (error && haveBackup) {
        (void)PWriteAll(fd, backup.data(), backup.size(), 0);
        (void)!::ftruncate(fd, old.st_size);
        (void)!::fsync(fd);
    }
    return error;
}

} // namespace

int ReplaceFileContents(const std::string& path, const std::uint8_t* data, std::size_t size) {
    if (path.empty())
        return ENOENT;
    struct stat old {};
    const fs::path target = FollowLinks(path);
    if (target.empty())
        return ELOOP;
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (!exists && errno != ENOENT)
        return errno;

    // Opening the old file for writing asks the system exactly what `>`
    // asks: its mode, its owner, its ACL, a read-only file system.
    bool readable = true;
    int oldFd = exists ? ::open(target.c_str(), O_RDWR | O_CLOEXEC | O_NOCTTY) : -1;
    if (exists && oldFd < 0 && errno == EACCES) {
        readable = false;
        oldFd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    }
    if (exists && oldFd < 0)
        return errno;
    Descriptor existing(oldFd);
    if (exists && !OwnerCanBeKept(old))
        return WriteInPlace(existing.Get(), readable, old, data, size);

    const struct stat* keep = exists ? &old : nullptr;
    bool unsupported = false;
    Outcome outcome = ReplaceUnnamed(target, keep, data, size, unsupported);
    if (unsupported)
        outcome = ReplaceNamed(target, keep, data, size);
    if (outcome.error && outcome.inPlace)
        return WriteInPlace(existing.Get(), readable, old, data, size);
    return outcome.error;
}
