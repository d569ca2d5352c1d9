// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/CalibrationStore.h"

#include "core/CalibrationDate.h"
#include "core/CalibrationFile.h"
#include "core/MakeFolders.h"
#include "core/SettingsFolder.h"
#include "core/SettingsFolderFile.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace {

// A save holds the lock for a read and a write of a small file; a program
// that holds it longer is not waited on for good.
constexpr auto kLockPatience = std::chrono::seconds(10);
constexpr auto kLockRetry = std::chrono::milliseconds(1);

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int Get() const { return fd_; }

private:
    int fd_;
};

// An exclusive lock of the folder while it lives, if had in time. The
// folder itself is locked, so that no lock file is left behind.
class FolderLock {
public:
    explicit FolderLock(const std::string& folder)
        : folder_(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
        if (folder_.Get() < 0)
            return;
        const auto giveUp = std::chrono::steady_clock::now() + kLockPatience;
        while (::flock(folder_.Get(), LOCK_EX | LOCK_NB) != 0) {
            if ((errno != EWOULDBLOCK && errno != EINTR) ||
                std::chrono::steady_clock::now() > giveUp)
                return;
            std::this_thread::sleep_for(kLockRetry);
        }
    }
    // Closing the folder lets the lock go.

private:
    FileDescriptor folder_;
};

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash == 0 ? 1 : slash);
}

bool IsValid(const ChannelCalibration& c) {
    return IsCalibrationVoltage(c.fullScaleVolts) && IsCalibrationDate(c.date);
}

} // namespace

std::string CalibrationStore::DefaultPath() {
    const std::string folder = SettingsFolder();
    return folder.empty() ? folder : folder + "/calibration.conf";
}

bool WriteCalibrationFile(const std::string& path, std::string_view contents) {
    const auto readsAsCalibrations = [](const std::string& text) {
        return ReadCalibrationText(text).has_value();
    };
    return WriteSettingsFolderFile(path, std::string(contents), readsAsCalibrations).outcome ==
           SettingsFileWrite::Outcome::Written;
}

CalibrationStore::CalibrationStore(std::string path, FileReplacer replace)
    : path_(std::move(path)), replace_(std::move(replace)) {}

StoredCalibrations CalibrationStore::Load() const {
    using State = CalibrationFileState;
    if (path_.empty())
        return {{}, State::Missing};
    SettingsFileText file = ReadSettingsFolderFile(path_);
    switch (file.status) {
    case SettingsFileText::Status::Missing:
        return {{}, State::Missing};
    case SettingsFileText::Status::NotAFile:
        return {{}, State::NotAFile};
    case SettingsFileText::Status::TooLarge:
        return {{}, State::TooLarge};
    case SettingsFileText::Status::Unreadable:
        return {{}, State::Unreadable};
    case SettingsFileText::Status::Read:
        break;
    }
    std::optional<CalibrationTable> table = ReadCalibrationText(file.text);
    if (!table)
        return {{}, State::Damaged};
    return {std::move(*table), State::Read};
}

CalibrationSaveResult CalibrationStore::Save(const std::string& output,
                                             const OutputCalibration& calibration) const {
    if (output.empty() || (!calibration.left && !calibration.right) ||
        (calibration.left && !IsValid(*calibration.left)) ||
        (calibration.right && !IsValid(*calibration.right)))
        return CalibrationSaveResult::InvalidCalibration;
    const std::string folder = FolderOf(path_);
    if (path_.empty() || !MakeFolders(folder))
        return CalibrationSaveResult::NotWritten;
    const FolderLock lock(folder);
    StoredCalibrations stored = Load();
    if (stored.state != CalibrationFileState::Read && stored.state != CalibrationFileState::Missing)
        return CalibrationSaveResult::FileKept;
    stored.table.Replace(output, calibration);
    const std::string text = WriteCalibrationText(stored.table);
    // A file that could not be read back would lose every calibration.
    if (text.size() > kMaxCalibrationFileBytes)
        return CalibrationSaveResult::TooLarge;
    return replace_(path_, text) ? CalibrationSaveResult::Saved : CalibrationSaveResult::NotWritten;
}
