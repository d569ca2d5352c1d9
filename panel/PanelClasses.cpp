// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/PanelClasses.h"

#include "controls/AbCBitBt.h"
#include "controls/AbGearDial.h"
#include "controls/ovclabel.h"
#include "controls/std/StdForm.h"
#include "controls/std/StdImage.h"
#include "controls/std/StdLabel.h"
#include "controls/std/StdPanel.h"
#include "controls/std/StdRadioButton.h"
#include "controls/std/StdTimer.h"
#include "core/ClassRegistry.h"
#include "engine/ToneGen.h"
#include "platform/Cursors.h"

#include <QPixmap>

namespace {
constexpr const char* kHandCursor = ":/assets/hand.png";
// The hand's finger tip, where it points.
constexpr int kHandHotX = 8;
constexpr int kHandHotY = 1;
} // namespace

void RegisterPanelClasses() {
    auto& registry = ClassRegistry::Instance();
    registry.Register<TLabel>("TLabel");
    registry.Register<TImage>("TImage");
    registry.Register<TPanel>("TPanel");
    registry.Register<TRadioButton>("TRadioButton");
    registry.Register<TTimer>("TTimer");
    RegisterGearDial();
    RegisterAbCBitBtnClasses();
    RegisterOvcLabel();
    RegisterToneGenClass();
}

void InitPanelResources() {
    // The resources live in a static library: nothing would pull them into
    // the program without this.
    Q_INIT_RESOURCE(panel);
    const QPixmap hand(QString::fromLatin1(kHandCursor));
    if (!hand.isNull())
        RegisterCursor(crHand, QCursor(hand, kHandHotX, kHandHotY));
}
