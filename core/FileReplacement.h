// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Replacing a file's contents all or nothing, so that no failure, signal or
// crash loses the file it replaces.

#include <cstddef>
#include <cstdint>
#include <string>

// Writes `size` bytes as the contents of the regular file `path` (taken as
// the bytes given, never re-encoded), creating it if need be, and returns
// 0, or the errno value that says why it could not; a failure leaves an
// existing file as it was. A symbolic link is followed to the file it names
// and stays a link. A file the caller may not write (its mode, its owner, a
// read-only file system) is refused as the shell's `>` refuses it.
//
// The data goes to an unnamed temporary file in the target's own folder
// that is linked in at the end, so that nothing is left behind by a signal
// or a crash; the replacement takes the old file's mode (and owner, where
// permitted). Where the file cannot be replaced without changing its owner
// (someone else's file the caller may write, as in a sticky folder), or its
// folder takes no new file, the space is reserved first and the file is
// then overwritten in place and cut to size; if the space cannot be
// reserved the file is left alone, and if a write still fails its old
// contents are put back where they can be read. The caller decides what to
// do with a name that is not a regular file: this is for regular files.
int ReplaceFileContents(const std::string& path, const std::uint8_t* data, std::size_t size);
