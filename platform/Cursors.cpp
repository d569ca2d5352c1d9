// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Cursors.h"

#include <QPixmap>
#include <QWidget>

#include <map>

// Outside any namespace, as Qt requires.
static void InitPlatformResources() {
    Q_INIT_RESOURCE(platform);
}

namespace {
// The tip of the hand's index finger in the 32 x 32 picture.
constexpr int kHandHotX = 8;
constexpr int kHandHotY = 1;

// Window thread only, like the widgets that use the cursors.
std::map<TCursor, QCursor>& Registry() {
    static std::map<TCursor, QCursor> registry = [] {
        InitPlatformResources();
        std::map<TCursor, QCursor> builtins;
        const QPixmap hand(QStringLiteral(":/platform/hand.png"));
        builtins[crHand] =
            hand.isNull() ? QCursor(Qt::PointingHandCursor) : QCursor(hand, kHandHotX, kHandHotY);
        return builtins;
    }();
    return registry;
}
} // namespace

void RegisterCursor(TCursor number, const QCursor& cursor) {
    Registry()[number] = cursor;
}

bool IsCursorRegistered(TCursor number) {
    return Registry().contains(number);
}

QCursor CursorOf(TCursor number) {
    const auto& registry = Registry();
    const auto it = registry.find(number);
    return it != registry.end() ? it->second : QCursor(Qt::ArrowCursor);
}

void ApplyCursor(QWidget& widget, TCursor number) {
    if (number == crDefault)
        widget.unsetCursor();
    else
        widget.setCursor(CursorOf(number));
}
