<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>cli</name>
    <message>
        <source>serve takes no file</source>
        <translation>serve не принимает файл</translation>
    </message>
    <message>
        <source>%1 is for serve</source>
        <translation>%1 — только для serve</translation>
    </message>
    <message>
        <source>%1 is not for serve: the remote commands set the signal</source>
        <translation>%1 не для serve: сигнал задают удалённые команды</translation>
    </message>
    <message>
        <source>--listen %1 is not ADDRESS:PORT (127.0.0.1:5025, [::1]:5025, 0.0.0.0:5025)</source>
        <translation>--listen %1 — не АДРЕС:ПОРТ (127.0.0.1:5025, [::1]:5025, 0.0.0.0:5025)</translation>
    </message>
    <message>
        <source>--allow: %1 (give addresses or networks such as 192.168.1.0/24, separated by commas)</source>
        <translation>--allow: %1 (укажите адреса или сети, например 192.168.1.0/24, через запятую)</translation>
    </message>
    <message>
        <source>--listen %1 reaches beyond this machine: give --allow with the clients it may accept</source>
        <translation>--listen %1 открыт не только для этой машины: укажите в --allow, каких клиентов принимать</translation>
    </message>
    <message>
        <source>Audio-frequency signal generator. Without a command it opens the front panel;
export and play need no display.

Examples:
  orbel export tone.wav --frequency 1000 --duration 1000
  orbel export fine.wav --frequency 997.123 --bits float --duration 10000
  orbel export chord.wav --note O5A --am 1:25:sine:1.5
  orbel play --frequency 250 --waveform square --stereo --seconds 10

Measurement signals (precise synthesis only):
  orbel export sweep.wav --sweep 20:20000 --duration 10000 --fade 50
  orbel export lin.wav --sweep 20000:20 --linear --duration 5000
  orbel play --waveform pink --seconds 60
  orbel export imd.wav --waveform smpte        (or ccif)
  orbel play --frequency 1000 --burst 10:90
  orbel play --frequency 1000 --stereo --phase 90
  orbel play --frequency 1000 --stereo --right-frequency 1001

Output for measurement:
  orbel export ref.wav --frequency 997 --bits 24 --level -1 --dither
  orbel devices; orbel play --device NAME --bits float --level -20</source>
        <translation>Генератор сигналов звуковой частоты. Без команды открывает переднюю панель;
export и play работают без дисплея.

Примеры:
  orbel export tone.wav --frequency 1000 --duration 1000
  orbel export fine.wav --frequency 997.123 --bits float --duration 10000
  orbel export chord.wav --note O5A --am 1:25:sine:1.5
  orbel play --frequency 250 --waveform square --stereo --seconds 10

Измерительные сигналы (только точный синтез):
  orbel export sweep.wav --sweep 20:20000 --duration 10000 --fade 50
  orbel export lin.wav --sweep 20000:20 --linear --duration 5000
  orbel play --waveform pink --seconds 60
  orbel export imd.wav --waveform smpte        (или ccif)
  orbel play --frequency 1000 --burst 10:90
  orbel play --frequency 1000 --stereo --phase 90
  orbel play --frequency 1000 --stereo --right-frequency 1001

Вывод для измерений:
  orbel export ref.wav --frequency 997 --bits 24 --level -1 --dither
  orbel devices; orbel play --device NAME --bits float --level -20</translation>
    </message>
    <message>
        <source>command</source>
        <translation>команда</translation>
    </message>
    <message>
        <source>export FILE: write the signal as a WAV file.
play: play it until --seconds have passed or Ctrl-C.
devices: list the sound server's outputs.
calibrate: play 1 kHz on --device and store the meter's reading of each channel.
serve: play as a remote client commands (SCPI over TCP, see --listen) until Ctrl-C or SYSTem:SHUTdown.
presets: list the presets; presets save NAME [options]: keep the state the options describe; presets delete NAME.</source>
        <translation>export ФАЙЛ: записать сигнал в файл WAV.
play: воспроизводить его, пока не пройдут --seconds или до Ctrl-C.
devices: перечислить выходы звукового сервера.
calibrate: играть 1 кГц на --device и сохранить показание вольтметра для каждого канала.
serve: играть по командам удалённого клиента (SCPI по TCP, см. --listen) до Ctrl-C или SYSTem:SHUTdown.
presets: перечислить наборы; presets save ИМЯ [параметры]: сохранить состояние, которое задают параметры; presets delete ИМЯ: удалить набор.</translation>
    </message>
    <message>
        <source>[export FILE|play|devices|calibrate|serve|presets]</source>
        <translation>[команда]</translation>
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
        <source>Tone frequency, 20 to 20000 Hz (default 440). export and play also take 1 Hz up to 20000 or 0.45 of --rate, whichever is higher, in steps of 0.001 (997.123).</source>
        <translation>Частота тона, от 20 до 20000 Гц (по умолчанию 440). export и play принимают и от 1 Гц до 20000 или 0,45 от --rate, что больше, с шагом 0.001 (997.123).</translation>
    </message>
    <message>
        <source>Tone as a note name: A, C#, E-, &gt;C, O5C#, N48 (octave 4 unless given).</source>
        <translation>Тон как название ноты: A, C#, E-, &gt;C, O5C#, N48 (октава 4, если не указана).</translation>
    </message>
    <message>
        <source>sine (default), square, triangle, sawtooth or noise; or pink (pink noise), smpte (60 Hz + 7 kHz, 4:1), ccif (19 + 20 kHz, 1:1) or multitone (see --tones).</source>
        <translation>sine (по умолчанию), square, triangle, sawtooth или noise; либо pink (розовый шум), smpte (60 Гц + 7 кГц, 4:1), ccif (19 + 20 кГц, 1:1) или multitone (см. --tones).</translation>
    </message>
    <message>
        <source>Loop length, 10 to 32767 ms (default: the shortest holding whole periods; 10000 for precise noise). A frequency with decimals, or below 20 or above 20000 Hz, is written for this long (default 1000).</source>
        <translation>Длина петли, от 10 до 32767 мс (по умолчанию — кратчайшая с целым числом периодов; 10000 для точного шума). Частота с дробной частью, ниже 20 или выше 20000 Гц записывается такой длительности (по умолчанию 1000).</translation>
    </message>
    <message>
        <source>Sample resolution: 16 (default), 8, 24 or float (32-bit IEEE); 24 and float need the precise synthesis.</source>
        <translation>Разрядность отсчётов: 16 (по умолчанию), 8, 24 или float (32-битная плавающая точка IEEE); для 24 и float нужен точный синтез.</translation>
    </message>
    <message>
        <source>Peak level in dB relative to full scale, -120 to 0 in steps of 0.01 (default 0), in the samples themselves: a sine at -20 has an RMS of -20 dBFS; or, on a calibrated output, 0dBu, -10dBV, 775mV, 0.775V (RMS of a sine), 2Vpp, 500mVpp. Precise only.</source>
        <translation>Пиковый уровень в дБ относительно полной шкалы, от -120 до 0 с шагом 0,01 (по умолчанию 0), в самих отсчётах: у синусоиды с уровнем -20 среднеквадратичное значение -20 дБFS; или, на откалиброванном выходе, 0dBu, -10dBV, 775mV, 0.775V (ср. кв. синусоиды), 2Vpp, 500mVpp. Только точный синтез.</translation>
    </message>
    <message>
        <source>Add triangular dither of 2 LSB peak to peak before rounding to 8, 16 or 24 bits (default off: files are the same byte for byte). Precise only.</source>
        <translation>Треугольный дизеринг размахом 2 МЗР перед округлением до 8, 16 или 24 бит (по умолчанию выключен: файлы совпадают байт в байт). Только точный синтез.</translation>
    </message>
    <message>
        <source>Samples per second: 44100, 48000, 88200, 96000 (default), 176400 or 192000; --classic plays 96000 or 44100. play without it plays at the output's own rate (one the synthesis makes), so that the server need not resample.</source>
        <translation>Отсчётов в секунду: 44100, 48000, 88200, 96000 (по умолчанию), 176400 или 192000; --classic играет 96000 или 44100. Без него play играет с частотой самого выхода (если синтез её даёт), чтобы сервер не пересчитывал частоту.</translation>
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
        <source>play: on this output of the sound server, by name or description (orbel devices lists them; default: the server's default); export: the output whose calibration a level in volts uses.</source>
        <translation>play: на этом выходе звукового сервера, по имени или описанию (список выдаёт orbel devices; по умолчанию — выход сервера по умолчанию); export: выход, калибровку которого берёт уровень в вольтах.</translation>
    </message>
    <message>
        <source>serve: the address and port to listen on (default 127.0.0.1:5025; [::1]:5025 for IPv6; port 0: any free one). Beyond the loopback address it needs --allow.</source>
        <translation>serve: адрес и порт для приёма клиентов (по умолчанию 127.0.0.1:5025; [::1]:5025 для IPv6; порт 0 — любой свободный). За пределами адреса loopback нужен --allow.</translation>
    </message>
    <message>
        <source>serve: the clients accepted beyond the loopback address, addresses or networks separated by commas (192.168.1.0/24,10.0.0.7,fd00::/8); others are closed at once.</source>
        <translation>serve: клиенты, принимаемые не с адреса loopback, — адреса или сети через запятую (192.168.1.0/24,10.0.0.7,fd00::/8); остальные сразу отключаются.</translation>
    </message>
    <message>
        <source>calibrate: the meter's readings of the left and right channels (V RMS, e.g. 0.245 or 245mV) instead of asking; one value for both.</source>
        <translation>calibrate: показания вольтметра для левого и правого каналов (В ср. кв., например 0.245 или 245mV) вместо вопроса; одно значение — для обоих.</translation>
    </message>
    <message>
        <source>Sine sweep from F1 to F2 Hz (20 to 20000, up or down) over --duration (100 to 60000 ms, default 10000). Logarithmic and synchronized: the duration is rounded so that the phase is whole at every multiple of F1; the actual one is printed. export writes one sweep, play repeats it.</source>
        <translation>Качание частоты синусоиды от F1 до F2 Гц (от 20 до 20000, вверх или вниз) за время --duration (от 100 до 60000 мс, по умолчанию 10000). Логарифмическое и синхронное: длительность округляется так, чтобы на каждой частоте, кратной F1, фаза составляла целое число периодов; фактическая длительность выводится. export записывает одно качание, play повторяет его.</translation>
    </message>
    <message>
        <source>With --sweep: a linear sweep of exactly --duration. With --tones or --steps: evenly spaced frequencies instead of per octave.</source>
        <translation>С --sweep: линейное качание частоты длительностью ровно --duration. С --tones или --steps: частоты через равные промежутки, а не по октавам.</translation>
    </message>
    <message>
        <source>With --sweep: raised-cosine fade in and out, 0 (default) to half the sweep.</source>
        <translation>С --sweep: плавные нарастание и спад по приподнятому косинусу, от 0 (по умолчанию) до половины качания.</translation>
    </message>
    <message>
        <source>Tone bursts: ON whole cycles of the sine, then OFF cycles of silence.</source>
        <translation>Пачки тона: ON целых периодов синусоиды, затем OFF периодов тишины.</translation>
    </message>
    <message>
        <source>With --stereo: the right channel lags the left, 0 to 360 in steps of 0.1.</source>
        <translation>С --stereo: правый канал отстаёт по фазе от левого, от 0 до 360 градусов с шагом 0,1.</translation>
    </message>
    <message>
        <source>With --stereo: the right channel's own frequency, as --frequency takes it.</source>
        <translation>С --stereo: собственная частота правого канала, как у --frequency.</translation>
    </message>
    <message>
        <source>With --waveform multitone: N tones per octave from F1 to F2 Hz (with --linear: N tones evenly). The level is the RMS of the whole signal (default -10 dBFS); the crest factor is printed.</source>
        <translation>С --waveform multitone: N тонов на октаву от F1 до F2 Гц (с --linear: N тонов через равные промежутки). Уровень — среднеквадратичное значение всего сигнала (по умолчанию -10 dBFS); выводится пик-фактор.</translation>
    </message>
    <message>
        <source>With --waveform multitone: the tones from a file, one a line: frequency in Hz, optionally its level in dB and its phase in degrees (# comments).</source>
        <translation>С --waveform multitone: тоны из файла, по одному в строке: частота в Гц, по желанию уровень в дБ и фаза в градусах (# — комментарий).</translation>
    </message>
    <message>
        <source>With --waveform multitone: centre every tone on a bin of an N-point transform and repeat every N frames; a power of two from 1024 to 1048576 (default 65536).</source>
        <translation>С --waveform multitone: поставить каждый тон в центр полосы N-точечного преобразования и повторять сигнал каждые N отсчётов; степень двойки от 1024 до 1048576 (по умолчанию 65536).</translation>
    </message>
    <message>
        <source>Stepped sine sweep: N frequencies from F1 to F2 Hz (F1 may be above F2), evenly on a log scale (with --linear: evenly), each held for --dwell; play prints each step as it is heard.</source>
        <translation>Ступенчатое качание синусоиды: N частот от F1 до F2 Гц (F1 может быть больше F2), равномерно в логарифмическом масштабе (с --linear: через равные промежутки), каждая держится --dwell; play выводит каждую ступень, когда она звучит.</translation>
    </message>
    <message>
        <source>With --steps: each step's time, 10 to 60000 ms.</source>
        <translation>С --steps: время каждой ступени, от 10 до 60000 мс.</translation>
    </message>
    <message>
        <source>With --steps: back down to F1 after F2.</source>
        <translation>С --steps: после F2 вернуться вниз к F1.</translation>
    </message>
    <message>
        <source>%1 must be F1:F2:N, two different frequencies in Hz, and N a whole number from 1 to %2, not %3</source>
        <translation>%1: нужно F1:F2:N — две разные частоты в Гц, N — целое число от 1 до %2, а не %3</translation>
    </message>
    <message>
        <source>step %1 of %2: %3 Hz</source>
        <translation>ступень %1 из %2: %3 Гц</translation>
    </message>
    <message>
        <source>--level %1 dBFS RMS would clip this multitone: the largest level that fits is %2</source>
        <translation>--level %1 dBFS (среднеквадратичный) перегрузит этот мультитон: наибольший допустимый уровень %2</translation>
    </message>
    <message>
        <source>the tones at %1 Hz and %2 Hz land on one bin of --fft %3 at %4 samples per second: drop one or lengthen --fft</source>
        <translation>тоны %1 Гц и %2 Гц попадают в одну полосу --fft %3 при %4 отсчётах в секунду: уберите один или увеличьте --fft</translation>
    </message>
    <message>
        <source>--tones-file %1, line %2: %3</source>
        <translation>--tones-file %1, строка %2: %3</translation>
    </message>
    <message>
        <source>crest factor %1 dB, %2 tones, repeating every %3 frames</source>
        <translation>пик-фактор %1 дБ, тонов: %2, период %3 отсчётов</translation>
    </message>
    <message>
        <source>--fft must be a power of two from %1 to %2, not %3</source>
        <translation>--fft: нужна степень двойки от %1 до %2, а не %3</translation>
    </message>
    <message>
        <source>give only one of --tones and --tones-file</source>
        <translation>укажите только одно из --tones и --tones-file</translation>
    </message>
    <message>
        <source>--steps needs --dwell MS</source>
        <translation>--steps требует --dwell MS</translation>
    </message>
    <message>
        <source>%1 must be F1:F2:N, frequencies in Hz with F1 below F2, and N a whole number from 1 to %2, not %3</source>
        <translation>%1: нужно F1:F2:N — частоты в Гц, F1 меньше F2, N — целое число от 1 до %2, а не %3</translation>
    </message>
    <message>
        <source>--waveform multitone needs --tones F1:F2:N or --tones-file FILE</source>
        <translation>--waveform multitone требует --tones F1:F2:N или --tones-file FILE</translation>
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
        <source>unknown command %1: the commands are export FILE, play, devices, calibrate, serve and presets</source>
        <translation>неизвестная команда %1: команды — export ФАЙЛ, play, devices, calibrate, serve и presets</translation>
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
        <source>no sound output: the sound server dropped the stream</source>
        <translation>нет вывода звука: звуковой сервер прервал поток</translation>
    </message>
    <message>
        <source>sound output restored</source>
        <translation>вывод звука восстановлен</translation>
    </message>
    <message>
        <source>the sound was lost for %.1f s of %.1f s played</source>
        <translation>звука не было %.1f с из %.1f с воспроизведения</translation>
    </message>
    <message>
        <source>devices takes no file</source>
        <translation>devices не принимает файл</translation>
    </message>
    <message>
        <source>%1 is for export and play</source>
        <translation>%1 — только для export и play</translation>
    </message>
    <message>
        <source>--bits %1 needs the precise synthesis; --classic makes 8 or 16 bits</source>
        <translation>--bits %1 требует точного синтеза; --classic даёт только 8 или 16 бит</translation>
    </message>
    <message>
        <source>--level needs the precise synthesis; --classic plays at the amplitudes alone</source>
        <translation>--level требует точного синтеза; --classic задаёт уровень только амплитудами</translation>
    </message>
    <message>
        <source>--dither needs the precise synthesis; --classic rounds as it always did</source>
        <translation>--dither требует точного синтеза; --classic округляет, как прежде</translation>
    </message>
    <message>
        <source>--device is for play only</source>
        <translation>--device только для play</translation>
    </message>
    <message>
        <source>--device needs the name or description of an output</source>
        <translation>--device требует имени или описания выхода</translation>
    </message>
    <message>
        <source>%1 goes with --sweep</source>
        <translation>%1 используется только с --sweep</translation>
    </message>
    <message>
        <source>%1 needs the precise synthesis, not --classic</source>
        <translation>%1 требует точного синтеза, а не --classic</translation>
    </message>
    <message>
        <source>give only one of --sweep, --burst and --waveform pink|smpte|ccif</source>
        <translation>укажите только один из --sweep, --burst и --waveform pink|smpte|ccif</translation>
    </message>
    <message>
        <source>%1 sets its own frequencies: drop --frequency and --note</source>
        <translation>%1 задаёт частоты сам: уберите --frequency и --note</translation>
    </message>
    <message>
        <source>%1 plays a sine, not --waveform %2</source>
        <translation>%1 воспроизводит синусоиду, а не --waveform %2</translation>
    </message>
    <message>
        <source>%1 does not take --am levels</source>
        <translation>%1 не принимает уровни --am</translation>
    </message>
    <message>
        <source>%1 needs --stereo</source>
        <translation>%1 требует --stereo</translation>
    </message>
    <message>
        <source>%1 goes with a steady sine only</source>
        <translation>%1 используется только с непрерывной синусоидой</translation>
    </message>
    <message>
        <source>%1 %2: use a point for decimals, not a comma</source>
        <translation>%1 %2: дробную часть отделяйте точкой, а не запятой</translation>
    </message>
    <message>
        <source>%1 takes at most three decimals (steps of 0.001 Hz), not %2</source>
        <translation>%1: не больше трёх знаков после точки (шаг 0,001 Гц), а не %2</translation>
    </message>
    <message>
        <source>%1 must be from %2 to %3 Hz at %4 samples per second, not %5</source>
        <translation>%1: нужно от %2 до %3 Гц при %4 отсчётах в секунду, а не %5</translation>
    </message>
    <message>
        <source>%1 must be a number of hertz from %2 to %3 with at most three decimals, not %4</source>
        <translation>%1: нужно число герц от %2 до %3, не больше трёх знаков после точки, а не %4</translation>
    </message>
    <message>
        <source>%1 makes a steady tone only: drop %2</source>
        <translation>%1 даёт только непрерывный тон: уберите %2</translation>
    </message>
    <message>
        <source>%1 must be a whole number from %2 to %3 (%4), not %5</source>
        <translation>%1: нужно целое число от %2 до %3 (%4), а не %5</translation>
    </message>
    <message>
        <source>Hz</source>
        <translation>Гц</translation>
    </message>
    <message>
        <source>ms</source>
        <translation>мс</translation>
    </message>
    <message>
        <source>ms, for a sweep</source>
        <translation>мс, для качания частоты</translation>
    </message>
    <message>
        <source>ms, at most half the sweep</source>
        <translation>мс, не больше половины качания</translation>
    </message>
    <message>
        <source>%1 must be %2 or %3, not %4</source>
        <translation>%1: нужно %2 или %3, а не %4</translation>
    </message>
    <message>
        <source>%1 must be %2, not %3</source>
        <translation>%1: нужно одно из %2, а не %3</translation>
    </message>
    <message>
        <source>%1 must be a note name from %2 to %3 Hz (A, C#, E-, &gt;C, O5C#, N0..N114), not %4</source>
        <translation>%1: нужно название ноты от %2 до %3 Гц (A, C#, E-, &gt;C, O5C#, N0..N114), а не %4</translation>
    </message>
    <message>
        <source>--volume must be LEFT or LEFT,RIGHT, each a whole number from %1 to %2 (percent), not %3</source>
        <translation>--volume: нужно LEFT или LEFT,RIGHT, каждое — целое число от %1 до %2 (в процентах), а не %3</translation>
    </message>
    <message>
        <source>--envelope must be A,H,D,S,R, five whole numbers from %1 to %2 (percent), not %3</source>
        <translation>--envelope: нужно A,H,D,S,R — пять целых чисел от %1 до %2 (в процентах), а не %3</translation>
    </message>
    <message>
        <source>--am %1: give LEVEL:AMPLITUDE:WAVEFORM:FREQUENCY</source>
        <translation>--am %1: укажите LEVEL:AMPLITUDE:WAVEFORM:FREQUENCY</translation>
    </message>
    <message>
        <source>--am %1: LEVEL must be a whole number from %2 to %3</source>
        <translation>--am %1: LEVEL должно быть целым числом от %2 до %3</translation>
    </message>
    <message>
        <source>--am %1: AMPLITUDE must be a whole number from %2 to %3 (percent)</source>
        <translation>--am %1: AMPLITUDE должно быть целым числом от %2 до %3 (в процентах)</translation>
    </message>
    <message>
        <source>--am %1: WAVEFORM must be %2</source>
        <translation>--am %1: WAVEFORM должно быть одним из %2</translation>
    </message>
    <message>
        <source>--am %1: FREQUENCY must make the level play from %2 to %3 Hz (a multiple of the tone's %4 Hz)</source>
        <translation>--am %1: FREQUENCY должно давать частоту уровня от %2 до %3 Гц (как множитель частоты тона %4 Гц)</translation>
    </message>
    <message>
        <source>--am %1: FREQUENCY must make the level play from %2 to %3 Hz (in hertz with --no-multiplier)</source>
        <translation>--am %1: FREQUENCY должно давать частоту уровня от %2 до %3 Гц (в герцах при --no-multiplier)</translation>
    </message>
    <message>
        <source>--am %1: FREQUENCY must make the level play from %2 to %3 Hz, as a number or a note name</source>
        <translation>--am %1: FREQUENCY должно давать частоту уровня от %2 до %3 Гц, числом или названием ноты</translation>
    </message>
    <message>
        <source>--sweep must be F1:F2, two different frequencies from %1 to %2 Hz at %3 samples per second, with at most three decimals after a point, not %4</source>
        <translation>--sweep: нужно F1:F2 — две разные частоты от %1 до %2 Гц при %3 отсчётах в секунду, не больше трёх знаков после точки, а не %4</translation>
    </message>
    <message>
        <source>--burst must be ON:OFF whole cycles, ON from 1 and OFF from 0, each at most %1, not %2</source>
        <translation>--burst: нужно ON:OFF в целых периодах, ON от 1 и OFF от 0, каждое не больше %1, а не %2</translation>
    </message>
    <message>
        <source>--phase must be degrees from 0 to 360 in steps of 0.1, not %1</source>
        <translation>--phase: нужен угол в градусах от 0 до 360 с шагом 0.1, а не %1</translation>
    </message>
    <message>
        <source>--bits must be 8, 16, 24 or float, not %1</source>
        <translation>--bits: нужно 8, 16, 24 или float, а не %1</translation>
    </message>
    <message>
        <source>--level must be a number from -120 to 0 (dB relative to full scale), not %1</source>
        <translation>--level: нужно число от -120 до 0 (дБ относительно полной шкалы), а не %1</translation>
    </message>
    <message>
        <source>--seconds must be a number from 0.1 to 86400, not %1</source>
        <translation>--seconds: нужно число от 0.1 до 86400, а не %1</translation>
    </message>
    <message>
        <source>the output %1 went away; playing on %2</source>
        <translation>выход %1 пропал; звук идёт на %2</translation>
    </message>
    <message>
        <source>the default output</source>
        <translation>выход по умолчанию</translation>
    </message>
    <message>
        <source>another output</source>
        <translation>другой выход</translation>
    </message>
    <message>
        <source>playing on %1 again</source>
        <translation>звук снова идёт на %1</translation>
    </message>
    <message>
        <source>no output named '%1'; the outputs are:</source>
        <translation>нет выхода с именем «%1»; выходы:</translation>
    </message>
    <message>
        <source>the sweep lasts %.6f s</source>
        <translation>качание частоты длится %.6f с</translation>
    </message>
    <message>
        <source>; longer than the %.3f s asked: the shortest synchronized sweep over this range</source>
        <translation>; дольше заданных %.3f с: это самое короткое синхронизированное качание в этом диапазоне</translation>
    </message>
    <message>
        <source>; each fade is cut to half of it, %.6f s</source>
        <translation>; нарастание и спад сокращены до половины качания, по %.6f с</translation>
    </message>
    <message>
        <source>the sound server has no output to play on</source>
        <translation>у звукового сервера нет выхода для воспроизведения</translation>
    </message>
    <message>
        <source>cannot write to standard output: %1</source>
        <translation>не удаётся писать в стандартный вывод: %1</translation>
    </message>
    <message>
        <source>%1 must be a level such as -20, -20dBFS, 0dBu, -10dBV, 775mV, 0.775V or 2Vpp, not %2</source>
        <translation>%1: нужен уровень, например -20, -20dBFS, 0dBu, -10dBV, 775mV, 0.775V или 2Vpp, а не %2</translation>
    </message>
    <message>
        <source>%1 takes a decimal point, not a comma (0.775V, not 0,775V): %2</source>
        <translation>%1: дробная часть отделяется точкой, а не запятой (0.775V, а не 0,775V): %2</translation>
    </message>
    <message>
        <source>%1 must be a number from -120 to 0 (dB relative to full scale), not %2</source>
        <translation>%1: нужно число от -120 до 0 (дБ относительно полной шкалы), а не %2</translation>
    </message>
    <message>
        <source>%1 must be a voltage above 0, not %2</source>
        <translation>%1: нужно напряжение больше 0, а не %2</translation>
    </message>
    <message>
        <source>%1 %2 needs the output's level calibrated once with a meter: orbel calibrate --device %4</source>
        <translation>%1 %2: уровень этого выхода нужно один раз откалибровать по вольтметру: orbel calibrate --device %4</translation>
    </message>
    <message>
        <source>%1 %2 is more than this output plays: at most %3</source>
        <translation>%1 %2: больше, чем может дать этот выход; наибольший уровень %3</translation>
    </message>
    <message>
        <source>%1 %2 is less than this output plays: at least %3</source>
        <translation>%1 %2: меньше, чем может дать этот выход; наименьший уровень %3</translation>
    </message>
    <message>
        <source>export, play, presets save: start from the preset NAME (orbel presets lists them); further options replace its settings.</source>
        <translation>export, play, presets save: начать с набора ИМЯ (список: orbel presets); другие параметры заменяют его настройки.</translation>
    </message>
    <message>
        <source>--preset is for export, play and presets save</source>
        <translation>--preset — только для export, play и presets save</translation>
    </message>
    <message>
        <source>--preset: no presets can be read here</source>
        <translation>--preset: наборы здесь недоступны</translation>
    </message>
    <message>
        <source>presets takes no more than save NAME or delete NAME</source>
        <translation>presets принимает только save ИМЯ или delete ИМЯ</translation>
    </message>
    <message>
        <source>%1 is for presets save</source>
        <translation>%1 — только для presets save</translation>
    </message>
    <message>
        <source>a preset&apos;s name is 1 to %1 bytes</source>
        <translation>имя набора — от 1 до %1 байт</translation>
    </message>
    <message>
        <source>presets save needs one NAME</source>
        <translation>presets save требует одно ИМЯ</translation>
    </message>
    <message>
        <source>%1 is not kept in a preset</source>
        <translation>%1 не сохраняется в наборе</translation>
    </message>
    <message>
        <source>no preset named %1 (orbel presets lists them)</source>
        <translation>нет набора с именем %1 (список: orbel presets)</translation>
    </message>
    <message>
        <source>preset %1 is damaged: line %2: %3</source>
        <translation>набор %1 повреждён: строка %2: %3</translation>
    </message>
    <message>
        <source>preset %1 is damaged: %2</source>
        <translation>набор %1 повреждён: %2</translation>
    </message>
    <message>
        <source>%1 is not a preset: %2</source>
        <translation>%1 — не набор: %2</translation>
    </message>
    <message>
        <source>preset %1 would be larger than 1 MB</source>
        <translation>набор %1 был бы больше 1 МБ</translation>
    </message>
    <message>
        <source>preset %1 not saved: its place in %2 holds something that is not a preset, left as it is</source>
        <translation>набор %1 не сохранён: на его месте в %2 не набор, он оставлен как есть</translation>
    </message>
    <message>
        <source>preset %1 not saved: there is no settings folder ($HOME is not set)</source>
        <translation>набор %1 не сохранён: нет папки настроек ($HOME не задан)</translation>
    </message>
    <message>
        <source>preset %1 not saved in %2</source>
        <translation>набор %1 не сохранён в %2</translation>
    </message>
    <message>
        <source>preset %1 not deleted: its place holds something that is not a preset, left as it is</source>
        <translation>набор %1 не удалён: на его месте не набор, он оставлен как есть</translation>
    </message>
    <message>
        <source>preset %1 not deleted: %2</source>
        <translation>набор %1 не удалён: %2</translation>
    </message>
    <message>
        <source>preset %1: the output %2 is gone; the default output is used</source>
        <translation>набор %1: выхода %2 больше нет; используется выход по умолчанию</translation>
    </message>
    <message>
        <source>level %1</source>
        <translation>уровень %1</translation>
    </message>
    <message>
        <source>level %1; at %2: %3rms, %4, %5</source>
        <translation>уровень %1; на %2: %3 ср.кв., %4, %5</translation>
    </message>
    <message>
        <source>the volume of %1 differs from its calibration's: the volt figures are no longer valid (orbel calibrate again)</source>
        <translation>громкость %1 отличается от громкости при калибровке: значения в вольтах больше не верны (откалибруйте заново: orbel calibrate)</translation>
    </message>
    <message>
        <source>the meter's reading of the left channel (V RMS, e.g. 0.245 or 245mV): </source>
        <translation>показание вольтметра на левом канале (В ср.кв., например 0.245 или 245mV): </translation>
    </message>
    <message>
        <source>the meter's reading of the right channel (V RMS, e.g. 0.245 or 245mV): </source>
        <translation>показание вольтметра на правом канале (В ср.кв., например 0.245 или 245mV): </translation>
    </message>
    <message>
        <source>playing 1000 Hz at %1 on %2</source>
        <translation>звучит 1000 Гц, %1, на %2</translation>
    </message>
    <message>
        <source>calibrated %1: a full-scale sine gives %2 RMS on the left, %3 on the right</source>
        <translation>%1 откалиброван: синус полной шкалы даёт %2 ср.кв. на левом канале, %3 на правом</translation>
    </message>
    <message>
        <source>no reading typed: nothing stored</source>
        <translation>показание не введено: ничего не сохранено</translation>
    </message>
    <message>
        <source>cannot read the volume of %1</source>
        <translation>не удаётся прочитать громкость %1</translation>
    </message>
    <message>
        <source>a full-scale sine would give %1 V: not a reading of this output</source>
        <translation>синус полной шкалы дал бы %1 В: это не показание этого выхода</translation>
    </message>
    <message>
        <source>%1 does not read as calibrations: left as it is, nothing stored</source>
        <translation>%1 не читается как файл калибровок: он оставлен как есть, ничего не сохранено</translation>
    </message>
    <message>
        <source>cannot store the calibration in %1</source>
        <translation>не удаётся сохранить калибровку в %1</translation>
    </message>
    <message>
        <source>--level in volts goes with a sine, not with --waveform multitone</source>
        <translation>--level в вольтах задаётся для синуса, а не для --waveform multitone</translation>
    </message>
    <message>
        <source>--volume below 100 would take the volts of --level %1 down with it: set the level alone</source>
        <translation>--volume меньше 100 понизил бы и напряжение --level %1: задайте только уровень</translation>
    </message>
    <message>
        <source>%1 must be the meter's reading in volts above 0, such as 0.245, 0.245V or 245mV, not %2</source>
        <translation>%1: нужно показание вольтметра в вольтах больше 0, например 0.245, 0.245V или 245mV, а не %2</translation>
    </message>
    <message>
        <source>calibrate needs --device NAME (orbel devices lists them)</source>
        <translation>calibrate нужен --device ИМЯ (список выдаёт orbel devices)</translation>
    </message>
    <message>
        <source>%1 is not for calibrate</source>
        <translation>%1 не задаётся для calibrate</translation>
    </message>
    <message>
        <source>--measured is for calibrate only</source>
        <translation>--measured задаётся только для calibrate</translation>
    </message>
    <message>
        <source>calibrate takes no file</source>
        <translation>calibrate не принимает файл</translation>
    </message>
    <message>
        <source>right channel's level %1</source>
        <translation>уровень правого канала %1</translation>
    </message>
    <message>
        <source>right channel's level %1; at %2: %3rms, %4, %5</source>
        <translation>уровень правого канала %1; на %2: %3 ср.кв., %4, %5</translation>
    </message>
    <message>
        <source>With --stereo: the right channel's own level, as --level takes it; a level in volts uses the right channel's calibration (default: --level).</source>
        <translation>С --stereo: собственный уровень правого канала, как его принимает --level; уровень в вольтах берёт калибровку правого канала (по умолчанию: --level).</translation>
    </message>
    <message>
        <source>--right-level needs --stereo and the precise synthesis</source>
        <translation>--right-level требует --stereo и точного синтеза</translation>
    </message>
    <message>
        <source>--right-level goes with a tone or a signal, not with %1</source>
        <translation>--right-level задаётся для тона или сигнала, а не для %1</translation>
    </message>
    <message>
        <source>--rate %1 needs the precise synthesis; --classic plays 96000 or 44100</source>
        <translation>--rate %1 требует точного синтеза; --classic играет 96000 или 44100</translation>
    </message>
    <message>
        <source>cannot read the output's sample rate: playing %1 samples per second</source>
        <translation>не удалось узнать частоту дискретизации выхода: играется %1 отсчётов в секунду</translation>
    </message>
    <message>
        <source>the output runs at %1 samples per second: the sound server will resample the sound played at %2</source>
        <translation>выход работает на %1 отсчётах в секунду: звуковой сервер пересчитает звук, играемый на %2</translation>
    </message>
</context>
</TS>
