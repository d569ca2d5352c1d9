// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The sentences the status line shows for the control under the pointer,
// the notice that takes their place while no sound is heard, and the credit
// line shown beside the model name.

#include "instrument/Instrument.h"

namespace panel::hints {

inline constexpr const char* kThousandsDial = "Изменение частоты сигнала с шагом 1 кГц";
inline constexpr const char* kHundredsDial = "Изменение частоты сигнала с шагом 100 Гц";
inline constexpr const char* kUnitsDial = "Изменение частоты сигнала с шагом 1/10 Гц";
inline constexpr const char* kAmplitudeDial = "Изменение амплитуды сигнала";
inline constexpr const char* kStart = "Запуск генератора";
inline constexpr const char* kStop = "Остановка генератора";
inline constexpr const char* kExit = "Выйти из программы";
inline constexpr const char* kLeftFrequency = "Индикатор частоты генератора левого канала";
inline constexpr const char* kRightFrequency = "Индикатор частоты генератора правого канала";
inline constexpr const char* kLeftAmplitude = "Индикатор амплитуды генератора левого канала";
inline constexpr const char* kRightAmplitude = "Индикатор амплитуды генератора правого канала";
inline constexpr const char* kWaveform = "Изменение формы сигнала генератора";
inline constexpr const char* kLeftOnly = "Вывод сигнала только через левый канал";
inline constexpr const char* kRightOnly = "Вывод сигнала только через правый канал";
inline constexpr const char* kBothChannels = "Вывод сигнала через левый и правый канал";
inline constexpr const char* kStep1Hz = "Изменение частоты сигнала с шагом 1 Гц";
inline constexpr const char* kStep10Hz = "Изменение частоты сигнала с шагом 10 Гц";

// Over the background, where no control is: how to open the menu.
inline constexpr const char* kMenu = "Правая кнопка мыши: меню";

// Shown instead of the hints while the generator plays but no sound reaches
// a sound server.
inline constexpr const char* kNoSoundOutput = instrument::kNoSoundOutput;

// The project, where it is described, and the year, set apart by runs of
// spaces.
inline constexpr const char* kCredit = "orbel          см. README проекта          2026";

} // namespace panel::hints
