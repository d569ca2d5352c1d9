// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every generator made in a test plays into a recording double, which is
// installed as the process-wide default output for the test's duration.

#include "engine/DefaultSoundOutput.h"
#include "engine/ToneGen.h"
#include "engine/WaveHeader.h"
#include "tests/support/RecordingSoundOutput.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

class ToneGenTest : public ::testing::Test {
protected:
    void SetUp() override {
        output = std::make_shared<RecordingSoundOutput>();
        previous = SetDefaultSoundOutput(output);
    }
    void TearDown() override { SetDefaultSoundOutput(previous); }

    std::vector<std::uint8_t> Image(const TToneGen& gen) const {
        const std::uint8_t* p = gen.GetDataBuffer();
        return p ? std::vector<std::uint8_t>(p, p + gen.ImageSize()) : std::vector<std::uint8_t>();
    }
    // The image's samples, channels interleaved, as fractions of full scale,
    // in whichever format the generator built.
    static std::vector<double> ImageSamples(const TToneGen& gen) {
        const WaveFormat f = gen.Format();
        const std::uint8_t* data = gen.GetDataBuffer();
        if (!data)
            return {};
        const std::size_t header = WaveHeaderSize(f);
        const std::size_t count =
            (gen.ImageSize() - header - kWavePaddingSize) / std::size_t(f.BytesPerSample());
        std::vector<double> x(count);
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint8_t* p = data + header + i * std::size_t(f.BytesPerSample());
            switch (f.BytesPerSample()) {
            case 1:
                x[i] = (p[0] - 128) / 127.0;
                break;
            case 2:
                x[i] = std::int16_t(p[0] | p[1] << 8) / 32767.0;
                break;
            case 3:
                x[i] = (std::int32_t(std::uint32_t(p[0] << 8 | p[1] << 16 | p[2] << 24)) >> 8) /
                       8388607.0;
                break;
            default: {
                float v;
                std::memcpy(&v, p, sizeof v);
                x[i] = v;
            }
            }
        }
        return x;
    }
    static std::int16_t Sample16(const std::vector<std::uint8_t>& img, std::size_t index) {
        return static_cast<std::int16_t>(img[44 + 2 * index] | (img[45 + 2 * index] << 8));
    }

    std::shared_ptr<RecordingSoundOutput> output;
    std::shared_ptr<SoundOutput> previous;
};
