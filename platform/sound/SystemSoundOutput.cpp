// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/sound/SystemSoundOutput.h"

#include "engine/SilentSoundOutput.h"
#include "platform/sound/PulseSoundOutput.h"

std::unique_ptr<SoundOutput> CreateSoundOutput() {
    if (auto pulse = PulseSoundOutput::Start())
        return pulse;
    return std::make_unique<SilentSoundOutput>();
}
