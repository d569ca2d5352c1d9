// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/ovclabel.h"
#include "core/ClassRegistry.h"

void RegisterOvcLabel() {
    ClassRegistry::Instance().Register<TOvcLabel>("TOvcLabel");
}
