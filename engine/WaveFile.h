#pragma once
// Writing a wave image to a file without ever leaving a partial one.

#include <cstddef>
#include <cstdint>
#include <string>

// Writes `size` bytes to `path`, replacing an existing file only once every
// byte has been written: the data goes to a temporary file in the same
// folder, which is renamed over the target at the end. Returns false on any
// failure, including a short write; the target is then untouched and the
// temporary file removed.
bool WriteWholeFile(const std::string& path, const std::uint8_t* data, std::size_t size);
