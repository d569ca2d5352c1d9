// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/DesignMessage.h"

#include <utility>

namespace {
DesignMessageHook& Hook() {
    static DesignMessageHook hook;
    return hook;
}
} // namespace

DesignMessageHook SetDesignMessageHook(DesignMessageHook hook) {
    return std::exchange(Hook(), std::move(hook));
}

void ShowDesignMessage(const std::string& text, const std::string& caption, MessageIcon icon) {
    if (Hook())
        Hook()(text, caption, icon);
}
