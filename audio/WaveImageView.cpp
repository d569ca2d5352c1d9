#include "audio/WaveImageView.h"

#include <algorithm>
#include <cstring>

namespace {
std::uint32_t U32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
           (std::uint32_t(p[3]) << 24);
}
std::uint16_t U16(const std::uint8_t* p) {
    return std::uint16_t(p[0] | (p[1] << 8));
}

constexpr int kMaxSamplesPerSecond = 768000;
} // namespace

std::optional<WaveImageView> ParseWaveImage(std::span<const std::uint8_t> image) {
    if (image.size() < 12 || std::memcmp(image.data(), "RIFF", 4) != 0 ||
        std::memcmp(image.data() + 8, "WAVE", 4) != 0)
        return std::nullopt;
    WaveImageView view;
    bool haveFormat = false;
    std::size_t pos = 12;
    while (image.size() - pos >= 8) {
        const std::uint8_t* chunk = image.data() + pos;
        const std::size_t size = U32(chunk + 4);
        const std::size_t available = image.size() - pos - 8;
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (size < 16 || available < 16)
                return std::nullopt;
            const std::uint8_t* f = chunk + 8;
            if (U16(f) != 1) // PCM only
                return std::nullopt;
            view.channels = U16(f + 2);
            view.samplesPerSecond =
                static_cast<int>(std::min<std::uint32_t>(U32(f + 4), INT32_MAX));
            view.bitsPerSample = U16(f + 14);
            if (view.channels < 1 || view.channels > 2 ||
                (view.bitsPerSample != 8 && view.bitsPerSample != 16) ||
                view.samplesPerSecond < 1 || view.samplesPerSecond > kMaxSamplesPerSecond)
                return std::nullopt;
            haveFormat = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!haveFormat)
                return std::nullopt;
            view.data = image.subspan(pos + 8, std::min(size, available));
            return view;
        }
        if (size > available)
            return std::nullopt;
        pos += 8 + size + (size & 1); // chunks are padded to even sizes
        if (pos > image.size())
            return std::nullopt;
    }
    return std::nullopt;
}

std::size_t RenderStereo(const WaveImageView& view, std::size_t& position, bool loop,
                         std::uint32_t level, std::int16_t* out, std::size_t frames) {
    const std::size_t total = view.Frames();
    if (total == 0)
        return 0;
    const std::uint32_t left = LeftLevel(level), right = RightLevel(level);
    const std::size_t frameBytes = view.FrameBytes();
    const bool sixteen = view.bitsPerSample == 16;
    const bool stereo = view.channels == 2;
    std::size_t done = 0;
    while (done < frames) {
        if (position >= total) {
            if (!loop)
                break;
            position = 0;
        }
        const std::size_t run = std::min(frames - done, total - position);
        const std::uint8_t* in = view.data.data() + position * frameBytes;
        std::int16_t* o = out + 2 * done;
        for (std::size_t i = 0; i < run; ++i) {
            std::int32_t l, r;
            if (sixteen) {
                l = static_cast<std::int16_t>(U16(in));
                r = stereo ? static_cast<std::int16_t>(U16(in + 2)) : l;
            } else {
                l = (std::int32_t(in[0]) - 128) * 256;
                r = stereo ? (std::int32_t(in[1]) - 128) * 256 : l;
            }
            in += frameBytes;
            *o++ = ApplyLevel(l, left);
            *o++ = ApplyLevel(r, right);
        }
        position += run;
        done += run;
    }
    return done;
}
