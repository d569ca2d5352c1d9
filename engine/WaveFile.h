#pragma once
// Writing a wave image to a file without ever leaving a partial one.

#include <cstddef>
#include <cstdint>
#include <string>

// Writes `size` bytes to `path`. A symbolic link is followed to the file it
// names. A regular file is replaced only once every byte has been written:
// the data goes to a temporary file in the target's own folder, which takes
// the old file's permission bits (and owner, where permitted) and is renamed
// over it at the end. A special file (FIFO, device), or an existing file in
// a folder that cannot take a temporary file, is written in place. Returns
// false on any failure, including a short write; a replaced file is then
// untouched and the temporary file removed.
bool WriteWholeFile(const std::string& path, const std::uint8_t* data, std::size_t size);
