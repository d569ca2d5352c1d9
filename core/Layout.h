// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The stored layout text format (see docs/layout-format.md): reading builds
// components and applies their stored properties; writing saves them.

#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

class TComponent;

// A malformed layout. Line() is 1-based; Property() names the property being
// read when there is one.
class LayoutError : public std::runtime_error {
public:
    LayoutError(int line, std::string property, const std::string& message);
    int Line() const { return line_; }
    const std::string& Property() const { return property_; }
    const std::string& Message() const { return message_; }

private:
    int line_;
    std::string property_;
    std::string message_;
};

// Reads a layout whose top block describes `root`, which already exists
// (its class name must match). Nested components are created through the
// class registry with `root` as owner and the enclosing block's component as
// parent. Every component is loading while its properties are applied, and
// Loaded() is called on all of them, in creation order (root first), once
// the whole text has been read. On error the components it created are
// destroyed and LayoutError is thrown.
void ReadLayoutInto(TComponent& root, std::string_view text);

// Creates the top component through the class registry as well.
std::unique_ptr<TComponent> ReadLayout(std::string_view text, TComponent* owner = nullptr);

// Writes `root` and the components it owns (nested by parent component).
std::string WriteLayout(TComponent& root);
