// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every generator made in a test plays into a recording double, which is
// installed as the process-wide default output for the test's duration.

#include "engine/DefaultSoundOutput.h"
#include "engine/ToneGen.h"
#include "tests/support/RecordingSoundOutput.h"

#include <gtest/gtest.h>

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
    static std::int16_t Sample16(const std::vector<std::uint8_t>& img, std::size_t index) {
        return static_cast<std::int16_t>(img[44 + 2 * index] | (img[45 + 2 * index] << 8));
    }

    std::shared_ptr<RecordingSoundOutput> output;
    std::shared_ptr<SoundOutput> previous;
};
