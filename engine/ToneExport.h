// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writing a described signal as a WAV file: `orbel export` and the panel's
// "save as WAV" both write through here, so the same request gives the same
// bytes from either.

#include "engine/ToneRequest.h"

#include <string>

// Builds the signal on a generator of its own (no sound output) and writes
// it to `file`, all or nothing (WriteWholeFile). 0 when written, else the
// errno value that says why (ENOMEM: the image could not be built).
int ExportTone(const ToneRequest& tone, const std::string& file);
// The same image written to an open descriptor (standard output, a pipe).
int ExportToneTo(const ToneRequest& tone, int fd);
