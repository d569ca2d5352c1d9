// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The sample format the output stream carries: the image's own, so that
// 24-bit and float images reach the server as they are, never through 16
// bits. 8-bit images go as 16 bits, as they always did.

#include "audio/WaveImageView.h"

#include <cstddef>

enum class StreamSample { S16, S24, Float32 };

inline StreamSample StreamSampleFor(const WaveImageView& view) {
    if (view.isFloat)
        return StreamSample::Float32;
    return view.bitsPerSample == 24 ? StreamSample::S24 : StreamSample::S16;
}

// Bytes of one stereo frame in the stream.
inline std::size_t StreamFrameBytes(StreamSample sample) {
    switch (sample) {
    case StreamSample::S24:
        return 6;
    case StreamSample::Float32:
        return 8;
    case StreamSample::S16:
        break;
    }
    return 4;
}
