// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/ChannelMemory.h"

namespace panel {

void TChannelMemory::Reset() {
    left_ = kInitial;
    right_ = kInitial;
    bothAmplitude_ = kInitial[3];
}

void TChannelMemory::Save(TChannel channel, const TDialPositions& dials) {
    switch (channel) {
    case TChannel::Left:
        left_ = dials;
        break;
    case TChannel::Right:
        right_ = dials;
        break;
    case TChannel::Both:
        bothAmplitude_ = dials[3];
        break;
    }
}

} // namespace panel
