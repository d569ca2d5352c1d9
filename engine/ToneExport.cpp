// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/ToneExport.h"

#include "engine/SilentSoundOutput.h"
#include "engine/ToneGen.h"
#include "engine/WaveFile.h"

#include <cerrno>
#include <memory>

int ExportTone(const ToneRequest& tone, const std::string& file) {
    TToneGen gen(nullptr, std::make_shared<SilentSoundOutput>());
    if (!tone.Build(gen))
        return ENOMEM;
    int why = 0;
    return gen.ExportFile(file, &why) ? 0 : (why != 0 ? why : EIO);
}

int ExportToneTo(const ToneRequest& tone, int fd) {
    TToneGen gen(nullptr, std::make_shared<SilentSoundOutput>());
    return tone.Build(gen) ? WriteAllTo(fd, gen.GetDataBuffer(), gen.ImageSize()) : ENOMEM;
}
