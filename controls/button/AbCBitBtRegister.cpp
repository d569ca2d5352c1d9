// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/AbCBitBt.h"
#include "core/ClassRegistry.h"

void RegisterAbCBitBtnClasses() {
    ClassRegistry& registry = ClassRegistry::Instance();
    registry.Register<TAbColBitBtn>("TAbColBitBtn");
    registry.Register<TAbFlash>("TAbFlash");
    registry.Register<TAbFlashTimer>("TAbFlashTimer");
}
