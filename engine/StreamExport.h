// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writing a streamed signal as a WAV file: the frames of its duration are
// rendered once, no loop needed, and written all or nothing (WriteWholeFile).

#include "engine/FrameSource.h"
#include "engine/StreamedTone.h"
#include "engine/WaveFormat.h"

#include <cstdint>
#include <string>
#include <vector>

// The WAV image of the next `durationMs` of `source` (whole frames at its
// rate), laid out as every image is: header, samples, padding. Empty when
// the memory could not be had.
std::vector<std::uint8_t> StreamImage(FrameSource& source, int durationMs);

// Writes `durationMs` of `source` to `path`. 0 when written, else the errno
// value that says why (ENOMEM: the image could not be built, EINVAL: no
// frames or more than a WAV file holds).
int ExportStream(FrameSource& source, int durationMs, const std::string& path);

// The command line's entry: `tone` in `format` for `durationMs` (EINVAL also
// for a rate that is not a multiple of 4).
int ExportStreamedTone(const StreamedToneSettings& tone, const WaveFormat& format, int durationMs,
                       const std::string& path);
