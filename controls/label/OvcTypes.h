// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The caption label's enumerations and the unit step of each shade
// direction. Member names are listed in declaration order for the stored
// layout, which writes enumerations by name.

#include <cstdint>
#include <string>
#include <vector>

// How far a shade copy lies from the text, in pixels.
using TOvcDepth = std::uint8_t;

enum TOvcAppearance { apNone, apCustom, apFlying, apRaised, apSunken, apShadow };
enum TOvcColorScheme { csCustom, csText, csWindows, csEmbossed, csGold, csSteel };
enum TOvcShadeDirection {
    sdNone,
    sdUp,
    sdUpRight,
    sdRight,
    sdDownRight,
    sdDown,
    sdDownLeft,
    sdLeft,
    sdUpLeft
};
enum TOvcShadeStyle { ssPlain, ssExtrude, ssGraduated };
enum TOvcGraduateStyle { gsNone, gsHorizontal, gsVertical };

constexpr int kOvcSchemeCount = csSteel + 1;

// One pixel step of a direction: x to the right, y downward.
struct TOvcStep {
    int dx = 0;
    int dy = 0;
    friend bool operator==(const TOvcStep&, const TOvcStep&) = default;
};

constexpr TOvcStep ShadeStep(TOvcShadeDirection d) {
    switch (d) {
    case sdUp:
        return {0, -1};
    case sdUpRight:
        return {1, -1};
    case sdRight:
        return {1, 0};
    case sdDownRight:
        return {1, 1};
    case sdDown:
        return {0, 1};
    case sdDownLeft:
        return {-1, 1};
    case sdLeft:
        return {-1, 0};
    case sdUpLeft:
        return {-1, -1};
    case sdNone:
        break;
    }
    return {0, 0};
}

inline const std::vector<std::string>& OvcAppearanceNames() {
    static const std::vector<std::string> names{"apNone",   "apCustom", "apFlying",
                                                "apRaised", "apSunken", "apShadow"};
    return names;
}
inline const std::vector<std::string>& OvcColorSchemeNames() {
    static const std::vector<std::string> names{"csCustom",   "csText", "csWindows",
                                                "csEmbossed", "csGold", "csSteel"};
    return names;
}
inline const std::vector<std::string>& OvcShadeDirectionNames() {
    static const std::vector<std::string> names{"sdNone",     "sdUp",        "sdUpRight",
                                                "sdRight",    "sdDownRight", "sdDown",
                                                "sdDownLeft", "sdLeft",      "sdUpLeft"};
    return names;
}
inline const std::vector<std::string>& OvcShadeStyleNames() {
    static const std::vector<std::string> names{"ssPlain", "ssExtrude", "ssGraduated"};
    return names;
}
inline const std::vector<std::string>& OvcGraduateStyleNames() {
    static const std::vector<std::string> names{"gsNone", "gsHorizontal", "gsVertical"};
    return names;
}
