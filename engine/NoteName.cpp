// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/NoteName.h"

#include <cmath>
#include <string>

namespace {

constexpr int kHighestNoteNumber = 121;
constexpr int kLowestOctave = 0;
constexpr int kHighestOctave = 9;

std::string TrimUpper(std::string_view name) {
    std::size_t b = 0, e = name.size();
    // Spaces and control characters count as blanks at either end.
    while (b < e && static_cast<unsigned char>(name[b]) <= ' ')
        ++b;
    while (e > b && static_cast<unsigned char>(name[e - 1]) <= ' ')
        --e;
    std::string out(name.substr(b, e - b));
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return out;
}

// Decimal integer with an optional sign, nothing else; false on anything
// else or on overflow.
bool ParseDecimal(std::string_view text, long& value) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    if (i == text.size())
        return false;
    long v = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        v = v * 10 + (text[i] - '0');
        if (v > 1000000)
            return false; // far outside every note number
    }
    value = negative ? -v : v;
    return true;
}

int SemitoneOf(char letter) {
    switch (letter) {
    case 'A':
        return 0;
    case 'B':
        return 2;
    case 'C':
        return 3;
    case 'D':
        return 5;
    case 'E':
        return 7;
    case 'F':
        return 8;
    case 'G':
        return 10;
    default:
        return -1;
    }
}

} // namespace

int NoteFrequency(int noteNumber) {
    const long double f = 440.0L * std::pow(2.0L, (noteNumber - 48) / 12.0L) + 0.5L;
    return static_cast<int>(f);
}

int ParseNote(std::string_view name, int& octave) {
    const std::string text = TrimUpper(name);
    std::size_t i = 0;
    int o = octave;
    long n = 0;

    if (!text.empty() && text[0] == 'N') {
        if (!ParseDecimal(std::string_view(text).substr(1), n) || n < 0 || n > kHighestNoteNumber)
            return 0;
        i = text.size();
    } else {
        if (!text.empty() && text[0] == 'O') {
            if (text.size() < 2 || text[1] < '0' || text[1] > '9')
                return 0;
            o = text[1] - '0';
            i = 2;
        } else {
            for (; i < text.size() && (text[i] == '<' || text[i] == '>'); ++i) {
                if (text[i] == '<' && o > kLowestOctave)
                    --o;
                else if (text[i] == '>' && o < kHighestOctave)
                    ++o;
            }
        }
        if (i >= text.size())
            return 0;
        const char letter = text[i++];
        int semitone = SemitoneOf(letter);
        if (semitone < 0)
            return 0;
        if (i < text.size() && (text[i] == '+' || text[i] == '#')) {
            if (letter == 'B' || letter == 'E')
                return 0;
            ++semitone;
            ++i;
        } else if (i < text.size() && text[i] == '-') {
            if (letter == 'C' || letter == 'F')
                return 0;
            if (letter == 'A') {
                // A flat is G sharp of the octave below.
                semitone = 11;
                --o;
                if (o < kLowestOctave)
                    return 0;
            } else {
                --semitone;
            }
            ++i;
        }
        n = semitone + 12L * o;
    }
    if (i != text.size())
        return 0;

    octave = o;
    const int f = NoteFrequency(static_cast<int>(n));
    return f >= kMinToneFrequency && f <= kMaxToneFrequency ? f : 0;
}
