// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Input and event types shared by the panel controls: the shift state and
// mouse buttons as the controls' events report them, the virtual-key codes
// the keyboard handling speaks, the event signatures, and the slot that binds
// a stored event property (a handler name) to its handler.

#include "core/Component.h"

#include <cstdint>
#include <functional>
#include <string>
#include <utility>

// Keys and buttons held during an input event, one bit each.
enum TShiftStateFlag : std::uint8_t {
    ssShift = 1u << 0,
    ssAlt = 1u << 1,
    ssCtrl = 1u << 2,
    ssLeft = 1u << 3,
    ssRight = 1u << 4,
    ssMiddle = 1u << 5,
    ssDouble = 1u << 6,
};
using TShiftState = std::uint8_t;

enum TMouseButton { mbLeft, mbRight, mbMiddle };

// Virtual-key codes. Key events carry these, not the toolkit's own codes, so
// handlers compare with the same numbers whatever delivers the keys.
using TKeyCode = std::uint16_t;
constexpr TKeyCode vkBack = 0x08;
constexpr TKeyCode vkTab = 0x09;
constexpr TKeyCode vkReturn = 0x0D;
constexpr TKeyCode vkShift = 0x10;
constexpr TKeyCode vkControl = 0x11;
constexpr TKeyCode vkMenu = 0x12;
constexpr TKeyCode vkEscape = 0x1B;
constexpr TKeyCode vkSpace = 0x20;
constexpr TKeyCode vkPrior = 0x21;
constexpr TKeyCode vkNext = 0x22;
constexpr TKeyCode vkEnd = 0x23;
constexpr TKeyCode vkHome = 0x24;
constexpr TKeyCode vkLeft = 0x25;
constexpr TKeyCode vkUp = 0x26;
constexpr TKeyCode vkRight = 0x27;
constexpr TKeyCode vkDown = 0x28;
constexpr TKeyCode vkInsert = 0x2D;
constexpr TKeyCode vkDelete = 0x2E;

using TMouseEvent =
    std::function<void(TPersistent* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TPersistent* sender, TShiftState shift, int x, int y)>;
// The handler may set `key` to 0 to keep the control from acting on it.
using TKeyEvent = std::function<void(TPersistent* sender, TKeyCode& key, TShiftState shift)>;

// An event of a control: the handler and the name it was bound by, which is
// what the stored layout keeps. A handler set from code has no name.
template <class Fn> class TEventSlot {
public:
    const Fn& Handler() const { return handler_; }
    const std::string& Name() const { return name_; }
    explicit operator bool() const { return static_cast<bool>(handler_); }

    void Set(Fn handler) {
        handler_ = std::move(handler);
        name_.clear();
    }
    // Resolves `name` among the handlers registered on `component` and its
    // owners; an empty name clears the event.
    void Bind(const TComponent& component, const std::string& name) {
        handler_ = BindHandler<Fn>(component, name);
        name_ = name;
    }

    template <class... Args> void operator()(Args&&... args) const {
        if (handler_)
            handler_(std::forward<Args>(args)...);
    }

private:
    Fn handler_;
    std::string name_;
};
