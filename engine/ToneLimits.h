// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The limits of the tone generator's settings. Its setters hold values at
// these limits; the command line refuses values beyond them.

// Tone frequency in hertz.
inline constexpr int kMinToneFrequency = 20;
inline constexpr int kMaxToneFrequency = 20000;
// Length of one tone (the loop) in milliseconds.
inline constexpr int kMinToneDurationMs = 10;
inline constexpr int kMaxToneDurationMs = 32767;
// Levels, envelope stages and AM amplitudes, in percent.
inline constexpr int kMinTonePercent = 0;
inline constexpr int kMaxTonePercent = 100;
