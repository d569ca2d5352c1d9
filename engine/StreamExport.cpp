// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/StreamExport.h"

#include "engine/WaveFile.h"
#include "engine/WaveHeader.h"

#include <cerrno>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>

namespace {

// A RIFF size is 32 bits and counts the header too.
constexpr std::uint64_t kLargestData = std::numeric_limits<std::uint32_t>::max() - 1024;

std::uint64_t FramesOf(const WaveFormat& format, int durationMs) {
    return durationMs <= 0 ? 0 : std::uint64_t(durationMs) * format.SamplesPerSecond() / 1000;
}

} // namespace

std::vector<std::uint8_t> StreamImage(FrameSource& source, int durationMs) {
    const WaveFormat& format = source.Format();
    const std::uint64_t frames = FramesOf(format, durationMs);
    const std::uint64_t dataLength = frames * std::uint64_t(format.BytesPerFrame());
    if (frames == 0 || dataLength > kLargestData)
        return {};
    const auto length = static_cast<std::uint32_t>(dataLength);
    std::vector<std::uint8_t> image;
    try {
        image.assign(WaveImageSize(format, length), format.ZeroLevelByte());
    } catch (const std::bad_alloc&) {
        return {};
    }
    WriteWaveHeader(image.data(), format, length);
    source.Render(static_cast<std::size_t>(frames), image.data() + WaveHeaderSize(format));
    return image;
}

int ExportStream(FrameSource& source, int durationMs, const std::string& path) {
    const WaveFormat& format = source.Format();
    const std::uint64_t frames = FramesOf(format, durationMs);
    if (frames == 0 || frames * std::uint64_t(format.BytesPerFrame()) > kLargestData)
        return EINVAL;
    const std::vector<std::uint8_t> image = StreamImage(source, durationMs);
    if (image.empty())
        return ENOMEM;
    return WriteWholeFile(path, image.data(), image.size());
}

int ExportStreamedTone(const StreamedToneSettings& tone, const WaveFormat& format, int durationMs,
                       const std::string& path) {
    try {
        StreamedTone source(tone, format);
        return ExportStream(source, durationMs, path);
    } catch (const std::bad_alloc&) {
        return ENOMEM;
    } catch (const std::invalid_argument&) {
        return EINVAL; // a rate the tone cannot be played at
    }
}
