<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_GB">
<context>
    <name>Panel</name>
    <message>
        <source>Генератор сигналов звуковой частоты</source>
        <comment>window title</comment>
        <translation>Audio-Frequency Signal Generator</translation>
    </message>
    <message>
        <source>ОРБЕЛ-01</source>
        <translation>ORBEL-01</translation>
    </message>
    <message>
        <source>Гц</source>
        <translation>Hz</translation>
    </message>
    <message>
        <source>мВ</source>
        <translation>mV</translation>
    </message>
    <message>
        <source>Синусоида</source>
        <translation>Sine</translation>
    </message>
    <message>
        <source>Прямоугольный</source>
        <translation>Square</translation>
    </message>
    <message>
        <source>Треугольный</source>
        <translation>Triangle</translation>
    </message>
    <message>
        <source>Пилообразный</source>
        <translation>Sawtooth</translation>
    </message>
    <message>
        <source>Белый шум</source>
        <translation>White noise</translation>
    </message>
    <message>
        <source>Левый канал</source>
        <translation>Left</translation>
    </message>
    <message>
        <source>Правый канал</source>
        <translation>Right</translation>
    </message>
    <message>
        <source>Левый+Правый</source>
        <translation>Left+Right</translation>
    </message>
    <message>
        <source>1 Гц</source>
        <translation>1 Hz</translation>
    </message>
    <message>
        <source>10 Гц</source>
        <translation>10 Hz</translation>
    </message>
    <message>
        <source>Старт</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Стоп</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Выход</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>:/assets/background.png</source>
        <comment>the background picture carries the frames' captions; one per language</comment>
        <translation>:/assets/background-en.png</translation>
    </message>
    <message>
        <source>Изменение частоты сигнала с шагом 1 кГц</source>
        <translation>Changes the frequency in steps of 1 kHz</translation>
    </message>
    <message>
        <source>Изменение частоты сигнала с шагом 100 Гц</source>
        <translation>Changes the frequency in steps of 100 Hz</translation>
    </message>
    <message>
        <source>Изменение частоты сигнала с шагом 1/10 Гц</source>
        <translation>Changes the frequency in steps of 1/10 Hz</translation>
    </message>
    <message>
        <source>Изменение амплитуды сигнала</source>
        <translation>Changes the amplitude</translation>
    </message>
    <message>
        <source>Запуск генератора</source>
        <translation>Starts the generator</translation>
    </message>
    <message>
        <source>Остановка генератора</source>
        <translation>Stops the generator</translation>
    </message>
    <message>
        <source>Выйти из программы</source>
        <translation>Quits the program</translation>
    </message>
    <message>
        <source>Индикатор частоты генератора левого канала</source>
        <translation>Frequency of the left channel's generator</translation>
    </message>
    <message>
        <source>Индикатор частоты генератора правого канала</source>
        <translation>Frequency of the right channel's generator</translation>
    </message>
    <message>
        <source>Индикатор амплитуды генератора левого канала</source>
        <translation>Amplitude of the left channel's generator</translation>
    </message>
    <message>
        <source>Индикатор амплитуды генератора правого канала</source>
        <translation>Amplitude of the right channel's generator</translation>
    </message>
    <message>
        <source>Изменение формы сигнала генератора</source>
        <translation>Changes the waveform</translation>
    </message>
    <message>
        <source>Вывод сигнала только через левый канал</source>
        <translation>Plays the signal on the left channel only</translation>
    </message>
    <message>
        <source>Вывод сигнала только через правый канал</source>
        <translation>Plays the signal on the right channel only</translation>
    </message>
    <message>
        <source>Вывод сигнала через левый и правый канал</source>
        <translation>Plays the signal on the left and right channels</translation>
    </message>
    <message>
        <source>Изменение частоты сигнала с шагом 1 Гц</source>
        <translation>Changes the frequency in steps of 1 Hz</translation>
    </message>
    <message>
        <source>Изменение частоты сигнала с шагом 10 Гц</source>
        <translation>Changes the frequency in steps of 10 Hz</translation>
    </message>
    <message>
        <source>Нет вывода звука: звуковой сервер не отвечает</source>
        <translation>No sound output: the sound server does not answer</translation>
    </message>
    <message>
        <source>orbel          см. README проекта          2026</source>
        <translation>orbel          see the project's README          2026</translation>
    </message>
    <message>
        <source>orbel: нет вывода звука: звуковой сервер не отвечает</source>
        <translation>orbel: no sound output: the sound server does not answer</translation>
    </message>
    <message>
        <source>orbel: нет вывода звука: звуковой сервер прервал поток</source>
        <translation>orbel: no sound output: the sound server dropped the stream</translation>
    </message>
    <message>
        <source>orbel: вывод звука восстановлен</source>
        <translation>orbel: sound output is back</translation>
    </message>
    <message>
        <source>Тысячи герц</source>
        <comment>dial</comment>
        <translation>Thousands of hertz</translation>
    </message>
    <message>
        <source>Сотни герц</source>
        <comment>dial</comment>
        <translation>Hundreds of hertz</translation>
    </message>
    <message>
        <source>Десятки и единицы герц</source>
        <comment>dial</comment>
        <translation>Tens and units of hertz</translation>
    </message>
    <message>
        <source>Амплитуда</source>
        <comment>dial</comment>
        <translation>Amplitude</translation>
    </message>
    <message>
        <source>Вид сигнала</source>
        <comment>group of switches</comment>
        <translation>Waveform</translation>
    </message>
    <message>
        <source>Канал</source>
        <comment>group of switches</comment>
        <translation>Channel</translation>
    </message>
    <message>
        <source>Дискретность</source>
        <comment>group of switches</comment>
        <translation>Step</translation>
    </message>
    <message>
        <source>Частота левого канала, тысячи герц</source>
        <translation>Left channel frequency, thousands of hertz</translation>
    </message>
    <message>
        <source>Частота левого канала, сотни герц</source>
        <translation>Left channel frequency, hundreds of hertz</translation>
    </message>
    <message>
        <source>Частота левого канала, десятки и единицы герц</source>
        <translation>Left channel frequency, tens and units of hertz</translation>
    </message>
    <message>
        <source>Частота правого канала, тысячи герц</source>
        <translation>Right channel frequency, thousands of hertz</translation>
    </message>
    <message>
        <source>Частота правого канала, сотни герц</source>
        <translation>Right channel frequency, hundreds of hertz</translation>
    </message>
    <message>
        <source>Частота правого канала, десятки и единицы герц</source>
        <translation>Right channel frequency, tens and units of hertz</translation>
    </message>
    <message>
        <source>Амплитуда левого канала, мВ</source>
        <translation>Left channel amplitude, mV</translation>
    </message>
    <message>
        <source>Амплитуда правого канала, мВ</source>
        <translation>Right channel amplitude, mV</translation>
    </message>
    <message>
        <source>Правая кнопка мыши: меню</source>
        <translation>Right mouse button: menu</translation>
    </message>
    <message>
        <source>Устройство вывода</source>
        <translation>Output device</translation>
    </message>
    <message>
        <source>Нет звукового сервера</source>
        <translation>No sound server</translation>
    </message>
    <message>
        <source>Формат</source>
        <translation>Format</translation>
    </message>
    <message>
        <source>16 бит</source>
        <translation>16 bits</translation>
    </message>
    <message>
        <source>24 бита</source>
        <translation>24 bits</translation>
    </message>
    <message>
        <source>32 бита (плавающая точка)</source>
        <translation>32 bits (floating point)</translation>
    </message>
    <message>
        <source>44,1 кГц</source>
        <translation>44.1 kHz</translation>
    </message>
    <message>
        <source>96 кГц</source>
        <translation>96 kHz</translation>
    </message>
    <message>
        <source>48 кГц</source>
        <translation>48 kHz</translation>
    </message>
    <message>
        <source>88,2 кГц</source>
        <translation>88.2 kHz</translation>
    </message>
    <message>
        <source>176,4 кГц</source>
        <translation>176.4 kHz</translation>
    </message>
    <message>
        <source>192 кГц</source>
        <translation>192 kHz</translation>
    </message>
    <message>
        <source>Сигнал</source>
        <translation>Signal</translation>
    </message>
    <message>
        <source>Как на панели</source>
        <translation>As on the panel</translation>
    </message>
    <message>
        <source>Розовый шум</source>
        <translation>Pink noise</translation>
    </message>
    <message>
        <source>Двухтональный SMPTE (60 Гц + 7 кГц)</source>
        <translation>Two-tone SMPTE (60 Hz + 7 kHz)</translation>
    </message>
    <message>
        <source>Двухтональный CCIF (19 + 20 кГц)</source>
        <translation>Two-tone CCIF (19 + 20 kHz)</translation>
    </message>
    <message>
        <source>Качание частоты…</source>
        <translation>Frequency sweep…</translation>
    </message>
    <message>
        <source>Сохранить в файл WAV…</source>
        <translation>Save as WAV file…</translation>
    </message>
    <message>
        <source>Удалённое управление</source>
        <translation>Remote control</translation>
    </message>
    <message>
        <source>О программе</source>
        <translation>About</translation>
    </message>
    <message>
        <source>Качание частоты</source>
        <translation>Frequency sweep</translation>
    </message>
    <message>
        <source>От, Гц</source>
        <translation>From, Hz</translation>
    </message>
    <message>
        <source>До, Гц</source>
        <translation>To, Hz</translation>
    </message>
    <message>
        <source>Время, с</source>
        <translation>Time, s</translation>
    </message>
    <message>
        <source>Логарифмическое</source>
        <translation>Logarithmic</translation>
    </message>
    <message>
        <source>Линейное</source>
        <translation>Linear</translation>
    </message>
    <message>
        <source>Повторять</source>
        <translation>Repeat</translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Ошибки ввода</source>
        <translation>Input errors</translation>
    </message>
    <message>
        <source>%1: «%2» — нужно целое число от %3 до %4 Гц</source>
        <translation>%1: “%2” — needs a whole number from %3 to %4 Hz</translation>
    </message>
    <message>
        <source>%1: «%2» — нужно целое число от %3 до %4</source>
        <translation>%1: “%2” — needs a whole number from %3 to %4</translation>
    </message>
    <message>
        <source>Ступенями</source>
        <translation>In steps</translation>
    </message>
    <message>
        <source>Ступеней</source>
        <translation>Steps</translation>
    </message>
    <message>
        <source>Выдержка, мс</source>
        <translation>Dwell, ms</translation>
    </message>
    <message>
        <source>Туда и обратно</source>
        <translation>There and back</translation>
    </message>
    <message>
        <source>Мультитон</source>
        <translation>Multitone</translation>
    </message>
    <message>
        <source>«От» и «До» должны различаться</source>
        <translation>“From” and “To” must differ</translation>
    </message>
    <message>
        <source>%1: «%2» — нужно число от 0,1 до 60 с, не больше трёх знаков после запятой</source>
        <translation>%1: “%2” — needs a number from 0.1 to 60 s, with at most three decimals</translation>
    </message>
    <message>
        <source>Сохранить в файл WAV</source>
        <translation>Save as WAV file</translation>
    </message>
    <message>
        <source>Файлы WAV (*.wav)</source>
        <translation>WAV files (*.wav)</translation>
    </message>
    <message>
        <source>Настройки</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Выбор не сохранён: %1 не файл настроек, он оставлен как есть.</source>
        <translation>The choice is not saved: %1 is not a settings file and is left as it is.</translation>
    </message>
    <message>
        <source>файл настроек %1 больше 1 МБ: взяты настройки по умолчанию</source>
        <translation>the settings file %1 is larger than 1 MB: the defaults are used</translation>
    </message>
    <message>
        <source>Файл %1 не записан: %2</source>
        <translation>The file %1 was not written: %2</translation>
    </message>
    <message>
        <source>orbel %1
Генератор сигналов звуковой частоты

Лицензия: GPL-3.0-or-later
Руководство: man orbel</source>
        <translation>orbel %1
Audio-frequency signal generator

Licence: GPL-3.0-or-later
Manual: man orbel</translation>
    </message>
    <message>
        <source>Частота…</source>
        <translation>Frequency…</translation>
    </message>
    <message>
        <source>Уровень…</source>
        <translation>Level…</translation>
    </message>
    <message>
        <source>Частота</source>
        <translation>Frequency</translation>
    </message>
    <message>
        <source>Уровень</source>
        <translation>Level</translation>
    </message>
    <message>
        <source>Частота, Гц</source>
        <translation>Frequency, Hz</translation>
    </message>
    <message>
        <source>Установить</source>
        <translation>Set</translation>
    </message>
    <message>
        <source>Стрелки вверх и вниз меняют цифру слева от курсора</source>
        <translation>Up and Down change the digit left of the cursor</translation>
    </message>
    <message>
        <source>Частота — от %1 до %2 Гц, не больше трёх знаков после запятой</source>
        <translation>The frequency lies from %1 to %2 Hz, with at most three decimals</translation>
    </message>
    <message>
        <source>Уровень в dBFS — от -120 до 0</source>
        <translation>A level in dBFS lies from -120 to 0</translation>
    </message>
    <message>
        <source>Напряжение должно быть больше нуля</source>
        <translation>A voltage must be above zero</translation>
    </message>
    <message>
        <source>Выход не откалиброван: задайте уровень в dBFS или откалибруйте выход</source>
        <translation>The output is not calibrated: set the level in dBFS or calibrate the output</translation>
    </message>
    <message>
        <source>Больше, чем даёт выход; наибольший уровень: %1</source>
        <translation>More than the output gives; the largest level: %1</translation>
    </message>
    <message>
        <source>Меньше наименьшего уровня: %1</source>
        <translation>Below the lowest level: %1</translation>
    </message>
    <message>
        <source>Уровень не распознан; например: -20, -20dBFS, 0dBu, -10dBV, 775mV, 2Vpp</source>
        <translation>Not a level; for example: -20, -20dBFS, 0dBu, -10dBV, 775mV, 2Vpp</translation>
    </message>
    <message>
        <source>Левый канал: %1 Гц</source>
        <translation>Left channel: %1 Hz</translation>
    </message>
    <message>
        <source>Правый канал: %1 Гц</source>
        <translation>Right channel: %1 Hz</translation>
    </message>
    <message>
        <source>Оба канала: %1 Гц</source>
        <translation>Both channels: %1 Hz</translation>
    </message>
    <message>
        <source>, %1 В ср.кв.</source>
        <translation>, %1 V RMS</translation>
    </message>
    <message>
        <source>Громкость изменилась, вольты устарели: %1 В?</source>
        <translation>Volume changed, volts out of date: %1 V?</translation>
    </message>
    <message>
        <source>Сервер пересчитает %1 кГц в %2 кГц выхода</source>
        <translation>The server resamples %1 kHz to the output's %2 kHz</translation>
    </message>
    <message>
        <source>Как у выхода</source>
        <translation>As the output</translation>
    </message>
    <message>
        <source>Наборы</source>
        <translation>Presets</translation>
    </message>
    <message>
        <source>Сохранить как…</source>
        <translation>Save as…</translation>
    </message>
    <message>
        <source>Удалить…</source>
        <translation>Delete…</translation>
    </message>
    <message>
        <source>Сохранить набор</source>
        <translation>Save preset</translation>
    </message>
    <message>
        <source>Название набора:</source>
        <translation>Preset name:</translation>
    </message>
    <message>
        <source>Удалить набор</source>
        <translation>Delete preset</translation>
    </message>
    <message>
        <source>Набор:</source>
        <translation>Preset:</translation>
    </message>
    <message>
        <source>Название набора — от 1 до %1 байт</source>
        <translation>A preset&apos;s name is 1 to %1 bytes</translation>
    </message>
    <message>
        <source>Набор не сохранён: на его месте не файл набора, он оставлен как есть</source>
        <translation>The preset is not saved: its place holds something that is not a preset, left as it is</translation>
    </message>
    <message>
        <source>Набор не сохранён в %1</source>
        <translation>The preset is not saved in %1</translation>
    </message>
    <message>
        <source>Набор «%1» повреждён: строка %2: %3</source>
        <translation>Preset “%1” is damaged: line %2: %3</translation>
    </message>
    <message>
        <source>Набор «%1» не прочитан: %2</source>
        <translation>Preset “%1” cannot be read: %2</translation>
    </message>
    <message>
        <source>Набор «%1» не может звучать на панели: %2</source>
        <translation>Preset “%1” cannot be played on the panel: %2</translation>
    </message>
    <message>
        <source>Устройства вывода набора больше нет: звук идёт на устройство по умолчанию</source>
        <translation>The preset&apos;s output is gone: the sound goes to the default output</translation>
    </message>
    <message>
        <source>Набор «%1» не удалён</source>
        <translation>Preset “%1” is not deleted</translation>
    </message>
    <message>
        <source>Калибровка уровня…</source>
        <translation>Level calibration…</translation>
    </message>
    <message>
        <source>Калибровка уровня</source>
        <translation>Level calibration</translation>
    </message>
    <message>
        <source>Начать</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Далее</source>
        <translation>Next</translation>
    </message>
    <message>
        <source>Сохранить</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Подключите вольтметр переменного напряжения (ср.кв.) к выходу. Тон 1000 Гц звучит сначала на левом канале, потом на правом; другой канал молчит. Громкость выхода не меняется.</source>
        <translation>Connect an AC voltmeter (RMS) to the output. A 1000 Hz tone plays first on the left channel, then on the right; the other channel is silent. The output's volume is not changed.</translation>
    </message>
    <message>
        <source>нет</source>
        <translation>none</translation>
    </message>
    <message>
        <source>Уровень тона, dBFS</source>
        <translation>Tone level, dBFS</translation>
    </message>
    <message>
        <source>Показание, В</source>
        <translation>Reading, V</translation>
    </message>
    <message>
        <source>Нет звукового сервера или выхода: калибровать нечего.</source>
        <translation>No sound server or output: nothing to calibrate.</translation>
    </message>
    <message>
        <source>Громкость выхода не прочитана: калибровка невозможна.</source>
        <translation>The output's volume cannot be read: no calibration is possible.</translation>
    </message>
    <message>
        <source>Тон не построен: не хватает памяти.</source>
        <translation>The tone was not made: not enough memory.</translation>
    </message>
    <message>
        <source>Звучит левый канал. Введите показание вольтметра, например 0,245 или 245 мВ.</source>
        <translation>The left channel plays. Type the meter's reading, e.g. 0.245 or 245 mV.</translation>
    </message>
    <message>
        <source>Нужно показание вольтметра в вольтах больше 0, например 0,245 или 245 мВ.</source>
        <translation>The meter's reading in volts above 0 is needed, e.g. 0.245 or 245 mV.</translation>
    </message>
    <message>
        <source>Тон не построен: не хватает памяти. Ничего не сохранено.</source>
        <translation>The tone was not made: not enough memory. Nothing was stored.</translation>
    </message>
    <message>
        <source>Звучит правый канал. Введите показание вольтметра, например 0,245 или 245 мВ.</source>
        <translation>The right channel plays. Type the meter's reading, e.g. 0.245 or 245 mV.</translation>
    </message>
    <message>
        <source>Синус полной шкалы дал бы %1 В: это не показание этого выхода. Ничего не сохранено.</source>
        <translation>A full-scale sine would give %1 V: not a reading of this output. Nothing was stored.</translation>
    </message>
    <message>
        <source>Сохранено: синус полной шкалы даёт %1 В ср.кв. на левом канале, %2 В на правом.</source>
        <translation>Stored: a full-scale sine gives %1 V RMS on the left channel, %2 V on the right.</translation>
    </message>
    <message>
        <source>%1 не читается как калибровки: файл оставлен как есть, ничего не сохранено.</source>
        <translation>%1 does not read as calibrations: the file is left as it is, nothing was stored.</translation>
    </message>
    <message>
        <source>Калибровка не сохранена в %1.</source>
        <translation>The calibration was not stored in %1.</translation>
    </message>
    <message>
        <source>%1: «%2» — нужно целое число от 1 до %3</source>
        <translation>%1: “%2” — needs a whole number from 1 to %3</translation>
    </message>
    <message>
        <source>%1: «%2» — нужно число больше 0 и не больше %3 Гц</source>
        <translation>%1: “%2” — needs a number above 0 and at most %3 Hz</translation>
    </message>
    <message>
        <source>«От» должно быть меньше «До»</source>
        <translation>“From” must be below “To”</translation>
    </message>
    <message>
        <source>БПФ %1 не подходит к этой частоте дискретизации</source>
        <translation>An FFT of %1 does not suit this sample rate</translation>
    </message>
    <message>
        <source>БПФ, точек</source>
        <translation>FFT, points</translation>
    </message>
    <message>
        <source>Длина БПФ — степень двойки от %1 до %2</source>
        <translation>The FFT length is a power of two from %1 to %2</translation>
    </message>
    <message>
        <source>Из файла</source>
        <translation>From a file</translation>
    </message>
    <message>
        <source>Линейно, всего</source>
        <translation>Linear, in all</translation>
    </message>
    <message>
        <source>Мультитон звучит только при точном синтезе</source>
        <translation>The multitone plays with the precise synthesis only</translation>
    </message>
    <message>
        <source>Мультитон не выбран</source>
        <translation>The multitone was not chosen</translation>
    </message>
    <message>
        <source>На октаву</source>
        <translation>Per octave</translation>
    </message>
    <message>
        <source>Не хватает памяти для мультитона</source>
        <translation>Not enough memory for the multitone</translation>
    </message>
    <message>
        <source>Нет ни одного тона</source>
        <translation>There is not a single tone</translation>
    </message>
    <message>
        <source>Обзор…</source>
        <translation>Browse…</translation>
    </message>
    <message>
        <source>Параметры мультитона…</source>
        <translation>Multitone settings…</translation>
    </message>
    <message>
        <source>Пик-фактор %1 дБ, тонов: %2, период %3 отсчётов</source>
        <translation>Crest factor %1 dB, tones: %2, period %3 samples</translation>
    </message>
    <message>
        <source>Пик-фактор</source>
        <translation>Crest factor</translation>
    </message>
    <message>
        <source>Проверить</source>
        <translation>Check</translation>
    </message>
    <message>
        <source>Сигнал с этим уровнем ограничится; наибольший уровень: %1</source>
        <translation>The signal would clip at this level; the largest level: %1</translation>
    </message>
    <message>
        <source>Слишком много тонов: не больше %1</source>
        <translation>Too many tones: at most %1</translation>
    </message>
    <message>
        <source>Список тонов — не обычный файл</source>
        <translation>The tone list is not a regular file</translation>
    </message>
    <message>
        <source>Список тонов</source>
        <translation>Tone list</translation>
    </message>
    <message>
        <source>Список тонов, строка %1: %2</source>
        <translation>Tone list, line %1: %2</translation>
    </message>
    <message>
        <source>Тон %1 Гц не ложится между первым бином БПФ %2 и половиной частоты дискретизации</source>
        <translation>The tone at %1 Hz does not lie between the first bin of the %2-point FFT and half the sample rate</translation>
    </message>
    <message>
        <source>Тонов</source>
        <translation>Tones</translation>
    </message>
    <message>
        <source>Тоны %1 Гц и %2 Гц попадают в один бин БПФ %3: уберите один или удлините БПФ</source>
        <translation>The tones at %1 Hz and %2 Hz land on one bin of the %3-point FFT: drop one or lengthen the FFT</translation>
    </message>
    <message>
        <source>Укажите файл со списком тонов</source>
        <translation>Name the file of the tone list</translation>
    </message>
    <message>
        <source>Уровень СКЗ</source>
        <translation>RMS level</translation>
    </message>
    <message>
        <source>Файл со списком тонов больше 1 МБ</source>
        <translation>The tone list file is larger than 1 MB</translation>
    </message>
    <message>
        <source>Файл со списком тонов не прочитан</source>
        <translation>The tone list file could not be read</translation>
    </message>
    <message>
        <source>Файл</source>
        <translation>File</translation>
    </message>
    <message>
        <source>Файла со списком тонов нет</source>
        <translation>The tone list file does not exist</translation>
    </message>
    <message>
        <source>частота, уровень, фаза — по строке на тон</source>
        <translation>frequency, level, phase — one line a tone</translation>
    </message>
    <message>
        <source>Расчёт…</source>
        <translation>Calculating…</translation>
    </message>
    <message>
        <source>Расчёт мультитона…</source>
        <translation>Calculating the multitone…</translation>
    </message>
</context>
<context>
    <name>PanelBackground</name>
    <message>
        <source>Левый канал</source>
        <translation>Left channel</translation>
    </message>
    <message>
        <source>Правый канал</source>
        <translation>Right channel</translation>
    </message>
    <message>
        <source>Канал</source>
        <translation>Channel</translation>
    </message>
    <message>
        <source>Вид сигнала</source>
        <translation>Waveform</translation>
    </message>
    <message>
        <source>Дискретность</source>
        <translation>Step</translation>
    </message>
    <message>
        <source>1×1кГц</source>
        <translation>1×1 kHz</translation>
    </message>
    <message>
        <source>1×100Гц</source>
        <translation>1×100 Hz</translation>
    </message>
    <message>
        <source>1×1Гц</source>
        <translation>1×1 Hz</translation>
    </message>
    <message>
        <source>Амплитуда (мВ)</source>
        <translation>Amplitude (mV)</translation>
    </message>
</context>
</TS>
