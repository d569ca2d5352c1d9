// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Enumerations and event types of the standard control properties that the
// caption label stores: text alignment, docking, drag mode, and the drag
// events. The panel never drags, so the drag settings and events are kept
// for stored layouts only.

#include "core/Persistent.h"

#include <functional>
#include <string>
#include <vector>

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum TDragMode { dmManual, dmAutomatic };
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };

using TDragDropEvent = std::function<void(TPersistent* sender, TPersistent* source, int x, int y)>;
using TDragOverEvent = std::function<void(TPersistent* sender, TPersistent* source, int x, int y,
                                          TDragState state, bool& accept)>;
using TEndDragEvent = std::function<void(TPersistent* sender, TPersistent* target, int x, int y)>;

inline const std::vector<std::string>& AlignmentNames() {
    static const std::vector<std::string> names{"taLeftJustify", "taRightJustify", "taCenter"};
    return names;
}
inline const std::vector<std::string>& AlignNames() {
    static const std::vector<std::string> names{"alNone", "alTop",   "alBottom",
                                                "alLeft", "alRight", "alClient"};
    return names;
}
inline const std::vector<std::string>& DragModeNames() {
    static const std::vector<std::string> names{"dmManual", "dmAutomatic"};
    return names;
}
