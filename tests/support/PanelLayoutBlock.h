// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One component's block of a stored layout, so that tests and galleries show
// the front panel's controls with the panel's own settings instead of copies
// of them that drift.

#include <string>
#include <string_view>

// The block `Name: Class { ... }` of the named component, nested blocks
// included, as a layout text of its own. Event bindings (`OnClick =
// Handler`) are left out: the handlers belong to the panel's form. Throws
// std::runtime_error when the layout has no such component.
std::string LayoutBlock(std::string_view layout, std::string_view componentName);

// The same from the front panel's stored layout (panel/Unit1.layout, the
// file compiled into the program).
std::string PanelLayoutBlock(std::string_view componentName);
