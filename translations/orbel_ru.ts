<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>cli</name>
    <message>
        <source>Audio-frequency signal generator. Without a command it opens the front panel;
export and play need no display.

Examples:
  orbel export tone.wav --frequency 1000 --duration 1000
  orbel export chord.wav --note O5A --am 1:25:sine:1.5
  orbel play --frequency 250 --waveform square --stereo --seconds 10</source>
        <translation>Генератор сигналов звуковой частоты. Без команды открывает переднюю панель;
export и play работают без дисплея.

Примеры:
  orbel export tone.wav --frequency 1000 --duration 1000
  orbel export chord.wav --note O5A --am 1:25:sine:1.5
  orbel play --frequency 250 --waveform square --stereo --seconds 10</translation>
    </message>
    <message>
        <source>command</source>
        <translation>команда</translation>
    </message>
    <message>
        <source>export FILE: write the signal as a WAV file.
play: play it until --seconds have passed or Ctrl-C.</source>
        <translation>export ФАЙЛ: записать сигнал в файл WAV.
play: воспроизводить его, пока не пройдут --seconds или до Ctrl-C.</translation>
    </message>
    <message>
        <source>[export FILE | play]</source>
        <translation>[export ФАЙЛ | play]</translation>
    </message>
    <message>
        <source>Show this help and exit.</source>
        <translation>Показать эту справку и выйти.</translation>
    </message>
    <message>
        <source>Show the version and exit.</source>
        <translation>Показать версию и выйти.</translation>
    </message>
    <message>
        <source>Tone frequency, 20 to 20000 Hz (default 440).</source>
        <translation>Частота тона, от 20 до 20000 Гц (по умолчанию 440).</translation>
    </message>
    <message>
        <source>Tone as a note name: A, C#, E-, &gt;C, O5C#, N48 (octave 4 unless given).</source>
        <translation>Тон как название ноты: A, C#, E-, &gt;C, O5C#, N48 (октава 4, если не указана).</translation>
    </message>
    <message>
        <source>sine (default), square, triangle, sawtooth or noise.</source>
        <translation>sine (по умолчанию), square, triangle, sawtooth или noise.</translation>
    </message>
    <message>
        <source>Loop length, 10 to 32767 ms (default: the shortest holding whole periods; 10000 for precise noise).</source>
        <translation>Длина петли, от 10 до 32767 мс (по умолчанию — кратчайшая с целым числом периодов; 10000 для точного шума).</translation>
    </message>
    <message>
        <source>Sample resolution, 16 (default) or 8.</source>
        <translation>Разрядность отсчётов, 16 (по умолчанию) или 8.</translation>
    </message>
    <message>
        <source>Samples per second, 96000 (default) or 44100.</source>
        <translation>Отсчётов в секунду, 96000 (по умолчанию) или 44100.</translation>
    </message>
    <message>
        <source>Two channels instead of one.</source>
        <translation>Два канала вместо одного.</translation>
    </message>
    <message>
        <source>Play level in percent, 0 to 100 (default 100); one value sets both.</source>
        <translation>Уровень воспроизведения в процентах, от 0 до 100 (по умолчанию 100); одно значение задаёт оба.</translation>
    </message>
    <message>
        <source>Shape the loop: attack, hold, decay, sustain, release, 0 to 100 percent.</source>
        <translation>Огибающая петли: атака, удержание, спад, поддержка, затухание, от 0 до 100 процентов.</translation>
    </message>
    <message>
        <source>Amplitude-modulation level (repeatable): LEVEL 1-8, AMPLITUDE 0-100 percent, a waveform name, FREQUENCY a multiplier of the tone (Hz with --no-multiplier) or a note name.</source>
        <translation>Уровень амплитудной модуляции (можно повторять): LEVEL 1-8, AMPLITUDE 0-100 процентов, название формы сигнала, FREQUENCY — множитель частоты тона (Гц с --no-multiplier) или название ноты.</translation>
    </message>
    <message>
        <source>AM frequencies are in hertz.</source>
        <translation>Частоты АМ в герцах.</translation>
    </message>
    <message>
        <source>Exact-phase, alias-free synthesis (default).</source>
        <translation>Синтез с точной фазой, без наложения спектров (по умолчанию).</translation>
    </message>
    <message>
        <source>The generator's original synthesis (also for the panel).</source>
        <translation>Исходный синтез генератора (и для панели).</translation>
    </message>
    <message>
        <source>play: stop after 0.1 to 86400 seconds (default: until Ctrl-C).</source>
        <translation>play: остановиться через 0,1–86400 секунд (по умолчанию — до Ctrl-C).</translation>
    </message>
    <message>
        <source>Usage:</source>
        <translation>Использование:</translation>
    </message>
    <message>
        <source>[options]</source>
        <translation>[параметры]</translation>
    </message>
    <message>
        <source>Options:</source>
        <translation>Параметры:</translation>
    </message>
    <message>
        <source>Arguments:</source>
        <translation>Аргументы:</translation>
    </message>
    <message>
        <source>Unknown option '%1'.</source>
        <translation>Неизвестный параметр «%1».</translation>
    </message>
    <message>
        <source> (orbel --help lists the options)</source>
        <translation> (список параметров: orbel --help)</translation>
    </message>
    <message>
        <source>%1 may be given only once</source>
        <translation>%1 можно указать только один раз</translation>
    </message>
    <message>
        <source>give only one of --precise and --classic</source>
        <translation>укажите только один из --precise и --classic</translation>
    </message>
    <message>
        <source>%1 needs a command: export FILE or play</source>
        <translation>%1 требует команды: export ФАЙЛ или play</translation>
    </message>
    <message>
        <source>export needs one FILE to write</source>
        <translation>export требует один ФАЙЛ для записи</translation>
    </message>
    <message>
        <source>--seconds is for play only</source>
        <translation>--seconds только для play</translation>
    </message>
    <message>
        <source>play takes no file</source>
        <translation>play не принимает файл</translation>
    </message>
    <message>
        <source>unknown command %1: the commands are export FILE, play and devices</source>
        <translation>неизвестная команда %1: команды — export ФАЙЛ, play и devices</translation>
    </message>
    <message>
        <source>give only one of --frequency and --note</source>
        <translation>укажите только один из --frequency и --note</translation>
    </message>
    <message>
        <source>--am: level %1 given twice</source>
        <translation>--am: уровень %1 указан дважды</translation>
    </message>
    <message>
        <source>not enough memory to build the signal</source>
        <translation>недостаточно памяти для построения сигнала</translation>
    </message>
    <message>
        <source>cannot write %1</source>
        <translation>не удаётся записать %1</translation>
    </message>
    <message>
        <source>no sound server answers (PulseAudio or PipeWire)</source>
        <translation>звуковой сервер не отвечает (PulseAudio или PipeWire)</translation>
    </message>
    <message>
        <source>no display for the front panel (%1); export and play work without one, see orbel --help</source>
        <translation>нет дисплея для передней панели (%1); export и play работают без него, см. orbel --help</translation>
    </message>
    <message>
        <source>Copyright (C) 2026 the orbel maintainers
License GPL-3.0-or-later: GNU GPL version 3 or later &lt;https://gnu.org/licenses/gpl.html&gt;
This is free software: you are free to change and redistribute it.
There is NO WARRANTY, to the extent permitted by law.</source>
        <translation>Copyright (C) 2026 разработчики orbel
Лицензия GPL-3.0-or-later: GNU GPL версии 3 или более поздней &lt;https://gnu.org/licenses/gpl.html&gt;
Это свободная программа: вы можете изменять и распространять её.
НИКАКИХ ГАРАНТИЙ в пределах, допускаемых законом.</translation>
    </message>
    <message>
        <source>cannot write</source>
        <translation>не удаётся записать</translation>
    </message>
    <message>
        <source>standard output</source>
        <translation>стандартный вывод</translation>
    </message>
    <message>
        <source>no sound output: the sound server does not answer</source>
        <translation>нет вывода звука: звуковой сервер не отвечает</translation>
    </message>
    <message>
        <source>sound output restored</source>
        <translation>вывод звука восстановлен</translation>
    </message>
    <message>
        <source>the sound was lost for %.1f s of %.1f s played</source>
        <translation>звука не было %.1f с из %.1f с воспроизведения</translation>
    </message>
</context>
</TS>
