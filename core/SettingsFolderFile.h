// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading and writing the small text files the program keeps in its
// settings folder, so that neither ever blocks nor harms a file that is not
// the program's own.
//
// Reading opens only a regular file (checked before it is opened, without
// waiting on a FIFO, and again once open) of at most 1 MB.
//
// Writing replaces the file all or nothing (FileReplacement.h). A symbolic
// link in its place is followed only to a regular file whose contents read
// as the caller's kind of file (`readsAsOurs`): that file gets the new
// contents and the link stays a link. Any other name there (a link to a
// device, a FIFO, a socket, a missing file or a file of other contents; a
// FIFO, device, socket or folder itself) is left exactly as it is and the
// write is refused. A regular file itself is the program's own and is
// replaced whatever it holds, so that a broken one mends.

#include <cstddef>
#include <functional>
#include <string>

inline constexpr std::size_t kLargestSettingsFile = std::size_t(1) << 20;

struct SettingsFileText {
    enum class Status {
        Read,
        Missing,
        NotAFile, // a FIFO, a device, a socket, a folder
        TooLarge, // over kLargestSettingsFile
        Unreadable,
    };
    Status status = Status::Missing;
    std::string text;
};

SettingsFileText ReadSettingsFolderFile(const std::string& path);

struct SettingsFileWrite {
    enum class Outcome {
        Written,
        Refused, // left as it was: not a file the program may replace
        Failed,  // the system refused (see `error`); the old file is as it was
    };
    Outcome outcome = Outcome::Written;
    int error = 0;
};

// Creates the file's folder when missing.
SettingsFileWrite
WriteSettingsFolderFile(const std::string& path, const std::string& text,
                        const std::function<bool(const std::string& contents)>& readsAsOurs);
