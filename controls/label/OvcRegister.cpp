#include "controls/ovclabel.h"
#include "core/ClassRegistry.h"

void RegisterOvcLabel() {
    ClassRegistry::Instance().Register<TOvcLabel>("TOvcLabel");
}
