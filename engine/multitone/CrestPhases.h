// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Phases for a multitone that keep its peaks low for its power.

#include "engine/multitone/BinCentring.h"
#include "engine/multitone/RealTransform.h"

#include <functional>
#include <vector>

// Schroeder's phases for tones in order of frequency with relative powers
// p_k: phi_k = -2 pi sum over l < k of (k - l) p_l. Tones with a phase of
// their own keep it.
std::vector<double> SchroederPhases(const std::vector<BinnedTone>& tones);

// Starting from Schroeder's phases, repeatedly clips the period's peaks
// and takes the phases of the clipped signal's tones back with their own
// amplitudes (nothing outside the tones' bins), keeping the phases of the
// lowest crest factor met. Tones with a phase of their own keep it. The
// number of rounds shrinks with the length, so that the work stays bounded.
// `eachRound` runs before every round (it may throw to end the search).
std::vector<double> LowerCrestPhases(const std::vector<BinnedTone>& tones, RealTransform& transform,
                                     const std::function<void()>& eachRound = nullptr);
