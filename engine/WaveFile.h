// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writing a wave image to a file without ever losing the file it replaces.

#include <cstddef>
#include <cstdint>
#include <string>

// Writes `size` bytes to `path` (taken as the bytes given, never re-encoded)
// and returns 0, or the errno value that says why it could not; a failure
// leaves an existing file as it was. A regular file (or a symbolic link to
// one, which stays a link) is replaced all or nothing, as
// core/FileReplacement.h says; a special file (FIFO, device) is written in
// place.
int WriteWholeFile(const std::string& path, const std::uint8_t* data, std::size_t size);

// Writes all `size` bytes to an open descriptor (standard output, a pipe);
// 0, or the errno value of the failure.
int WriteAllTo(int fd, const std::uint8_t* data, std::size_t size);
