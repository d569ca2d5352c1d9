// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The dial positions the panel keeps per output channel, so that switching
// to a channel brings back what was last set for it: all four dials for the
// left and the right channel, the amplitude alone for both channels.

#include <array>

namespace panel {

enum class TChannel { Left, Right, Both };

// Dial Values in the order thousands, hundreds, tens-and-units, amplitude.
using TDialPositions = std::array<float, 4>;

class TChannelMemory {
public:
    static constexpr TDialPositions kInitial{1.0f, 0.0f, 0.0f, 50.0f};

    TChannelMemory() { Reset(); }

    // Back to the positions the panel starts with.
    void Reset();
    // Keeps the dials' positions for `channel` (only the amplitude for both).
    void Save(TChannel channel, const TDialPositions& dials);

    const TDialPositions& Left() const { return left_; }
    const TDialPositions& Right() const { return right_; }
    float BothAmplitude() const { return bothAmplitude_; }

private:
    TDialPositions left_{};
    TDialPositions right_{};
    float bothAmplitude_ = 0.0f;
};

} // namespace panel
