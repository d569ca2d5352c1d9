// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/SoundName.h"

std::string SoundName(TTGWave wave, int frequency) {
    switch (wave) {
    case TTGWave::tgSine:
        return "Синусоида " + std::to_string(frequency) + " Гц";
    case TTGWave::tgSquare:
        return "Меандр " + std::to_string(frequency) + " Гц";
    case TTGWave::tgTriangle:
        return "Треугольник " + std::to_string(frequency) + " Гц";
    case TTGWave::tgSawtooth:
        return "Пила " + std::to_string(frequency) + " Гц";
    default:
        return "Шум"; // noise has no frequency to speak of
    }
}
