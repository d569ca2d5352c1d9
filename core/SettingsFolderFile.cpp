// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/SettingsFolderFile.h"

#include "core/FileReplacement.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

using Status = SettingsFileText::Status;
using Outcome = SettingsFileWrite::Outcome;

// The name a chain of symbolic links ends at; empty for a loop or a link
// that cannot be read.
std::string FinalTarget(std::string path) {
    for (int hop = 0; hop < 40; ++hop) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return path;
        std::error_code error;
        const fs::path target = fs::read_symlink(path, error);
        if (error)
            return {};
        path = (target.is_absolute() ? target : fs::path(path).parent_path() / target).string();
    }
    return {};
}

} // namespace

SettingsFileText ReadSettingsFolderFile(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return {errno == ENOENT ? Status::Missing : Status::Unreadable, {}};
    if (!S_ISREG(info.st_mode))
        return {Status::NotAFile, {}};
    // Non-blocking: should a FIFO take the file's place after the check,
    // opening it does not wait for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return {Status::Unreadable, {}};
    SettingsFileText file;
    if (::fstat(fd, &info) != 0) {
        file.status = Status::Unreadable;
    } else if (!S_ISREG(info.st_mode)) {
        file.status = Status::NotAFile;
    } else if (std::size_t(info.st_size) > kLargestSettingsFile) {
        file.status = Status::TooLarge;
    } else {
        // At most one byte past the limit, should the file grow meanwhile.
        file.text.resize(kLargestSettingsFile + 1);
        std::size_t done = 0;
        file.status = Status::Read;
        while (done < file.text.size()) {
            const ssize_t n = ::read(fd, file.text.data() + done, file.text.size() - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                file.status = Status::Unreadable;
            if (n <= 0)
                break;
            done += std::size_t(n);
        }
        file.text.resize(done);
        if (done > kLargestSettingsFile)
            file.status = Status::TooLarge;
        if (file.status != Status::Read)
            file.text.clear();
    }
    ::close(fd);
    return file;
}

SettingsFileWrite
WriteSettingsFolderFile(const std::string& path, const std::string& text,
                        const std::function<bool(const std::string& contents)>& readsAsOurs) {
    const fs::path folder = fs::path(path).parent_path();
    std::error_code made;
    if (!folder.empty() && !fs::is_directory(folder, made)) {
        fs::create_directories(folder, made);
        if (made)
            return {Outcome::Failed, made.value()};
    }
    std::string target = path;
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0) {
        if (S_ISLNK(info.st_mode)) {
            target = FinalTarget(path);
            const SettingsFileText old =
                target.empty() ? SettingsFileText{} : ReadSettingsFolderFile(target);
            if (old.status != Status::Read || !readsAsOurs(old.text))
                return {Outcome::Refused, 0};
        } else if (!S_ISREG(info.st_mode)) {
            return {Outcome::Refused, 0};
        }
    } else if (errno != ENOENT) {
        return {Outcome::Failed, errno};
    }
    const int error = ReplaceFileContents(
        target, reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    return {error ? Outcome::Failed : Outcome::Written, error};
}
