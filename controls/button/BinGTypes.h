// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Enumerations and option sets of the coloured bit button.

#include <cstdint>
#include <string>
#include <vector>

// How the left button works the control: a momentary push button, a toggle
// switch, a display-only indicator or one button of a radio group.
enum TMode : std::uint8_t { mButton, mSwitch, mIndicator, mRadioButton };

// Where the glyph-and-text block sits in the face.
enum TPosH : std::uint8_t { phLeft, phRight, phCenter };
enum TPosV : std::uint8_t { pvTop, pvBottom, pvCenter };
// Where the glyph sits relative to the text.
enum TPos : std::uint8_t { pLeft, pRight, pTop, pBottom };

// Parts that alternate while the button flashes (member i is bit i).
enum TFlashOption : std::uint8_t { foGlyph, foText, foTextCol, foBtnCol };
using TFlashOptions = std::uint8_t;
// Parts that show the on state while the button is checked.
enum TCheckedOption : std::uint8_t { coGlyph, coText, coTextCol, coBtnCol, coBevel };
using TCheckedOptions = std::uint8_t;

constexpr std::uint8_t OptionBit(int member) {
    return static_cast<std::uint8_t>(1u << member);
}
constexpr TFlashOptions AllFlashOptions = 0x0F;
constexpr TCheckedOptions AllCheckedOptions = 0x1F;

inline const std::vector<std::string>& ModeNames() {
    static const std::vector<std::string> n{"mButton", "mSwitch", "mIndicator", "mRadioButton"};
    return n;
}
inline const std::vector<std::string>& PosHNames() {
    static const std::vector<std::string> n{"phLeft", "phRight", "phCenter"};
    return n;
}
inline const std::vector<std::string>& PosVNames() {
    static const std::vector<std::string> n{"pvTop", "pvBottom", "pvCenter"};
    return n;
}
inline const std::vector<std::string>& PosNames() {
    static const std::vector<std::string> n{"pLeft", "pRight", "pTop", "pBottom"};
    return n;
}
inline const std::vector<std::string>& FlashOptionNames() {
    static const std::vector<std::string> n{"foGlyph", "foText", "foTextCol", "foBtnCol"};
    return n;
}
inline const std::vector<std::string>& CheckedOptionNames() {
    static const std::vector<std::string> n{"coGlyph", "coText", "coTextCol", "coBtnCol",
                                            "coBevel"};
    return n;
}
inline const std::vector<std::string>& FlashFreqNames() {
    static const std::vector<std::string> n{"ff8Hz", "ff4Hz", "ff2Hz", "ff1Hz", "ff05Hz"};
    return n;
}
