// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writing a wave image to a file without ever losing the file it replaces.

#include <cstddef>
#include <cstdint>
#include <string>

// Writes `size` bytes to `path` (taken as the bytes given, never re-encoded)
// and returns 0, or the errno value that says why it could not; a failure
// leaves an existing file as it was. A symbolic link is followed to the file
// it names. A file the caller may not write (its mode, its owner, a
// read-only file system) is refused as the shell's `>` refuses it.
//
// A regular file is replaced only once every byte has been written: the data
// goes to an unnamed temporary file in the target's own folder that is linked
// in at the end, so that nothing is left behind by a signal or a crash; the
// replacement takes the old file's mode (and owner, where permitted). Where
// the file cannot be replaced without changing its owner (someone else's
// file the caller may write, as in a sticky folder), or its folder takes no
// new file, the space is reserved first and the file is then overwritten in
// place and cut to size; if the space cannot be reserved the file is left
// alone, and if a write still fails its old contents are put back where
// they can be read. A special file (FIFO, device) is written in place.
int WriteWholeFile(const std::string& path, const std::uint8_t* data, std::size_t size);

// Writes all `size` bytes to an open descriptor (standard output, a pipe);
// 0, or the errno value of the failure.
int WriteAllTo(int fd, const std::uint8_t* data, std::size_t size);
