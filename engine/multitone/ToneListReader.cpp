// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/multitone/ToneListReader.h"

#include <charconv>
#include <cmath>
#include <optional>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

// The next field of `line` from `pos`: a run of non-blank characters.
std::string_view NextField(std::string_view line, std::size_t& pos) {
    while (pos < line.size() && IsBlank(line[pos]))
        ++pos;
    const std::size_t start = pos;
    while (pos < line.size() && !IsBlank(line[pos]))
        ++pos;
    return line.substr(start, pos - start);
}

// A whole field as a finite number in plain decimal notation (an exponent
// is allowed; "inf", "nan" and hexadecimal are not).
std::optional<double> Number(std::string_view field) {
    if (field.empty())
        return std::nullopt;
    std::string_view digits = field;
    if (digits.front() == '+' || digits.front() == '-')
        digits.remove_prefix(1);
    if (digits.empty() ||
        !(std::isdigit(static_cast<unsigned char>(digits.front())) || digits.front() == '.'))
        return std::nullopt;
    double value = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value,
                                           std::chars_format::general);
    if (ec != std::errc() || end != digits.data() + digits.size() || !std::isfinite(value))
        return std::nullopt;
    return field.front() == '-' ? -value : value;
}

// The line's tone, or the reason it is refused.
std::string ReadLine(std::string_view line, std::optional<MultitoneTone>& tone) {
    std::size_t pos = 0;
    const std::string_view fields[] = {NextField(line, pos), NextField(line, pos),
                                       NextField(line, pos)};
    if (!NextField(line, pos).empty())
        return "more than three numbers (frequency, level, phase)";
    if (fields[0].empty())
        return {}; // blank
    for (const std::string_view field : fields)
        if (field.find(',') != std::string_view::npos)
            return "a decimal comma: write numbers with a point";
    const std::optional<double> hertz = Number(fields[0]);
    if (!hertz)
        return "the frequency is not a number";
    if (*hertz <= 0 || *hertz > 1e6)
        return "the frequency must be above 0 and at most 1000000 Hz";
    MultitoneTone t{*hertz, 0, std::nullopt};
    if (!fields[1].empty()) {
        const std::optional<double> level = Number(fields[1]);
        if (!level)
            return "the level is not a number";
        if (std::fabs(*level) > 200)
            return "the level must lie within -200..200 dB";
        t.levelDb = *level;
    }
    if (!fields[2].empty()) {
        const std::optional<double> phase = Number(fields[2]);
        if (!phase)
            return "the phase is not a number";
        double degrees = std::fmod(*phase, 360.0);
        if (degrees < 0)
            degrees += 360;
        // A tiny negative phase (-1e-20) rounds up to exactly 360 when 360 is
        // added; that is the phase 0.
        if (degrees >= 360)
            degrees = 0;
        t.phaseDegrees = degrees;
    }
    tone = t;
    return {};
}

} // namespace

ToneListReading ReadToneList(std::string_view text) {
    ToneListReading reading;
    int lineNumber = 0;
    // Some editors start a text file with the byte order mark.
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    while (!text.empty()) {
        ++lineNumber;
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (const std::size_t hash = line.find('#'); hash != std::string_view::npos)
            line = line.substr(0, hash);
        std::optional<MultitoneTone> tone;
        std::string reason = ReadLine(line, tone);
        if (reason.empty() && tone && reading.tones.size() >= std::size_t(kMostListedTones))
            reason = "more than " + std::to_string(kMostListedTones) + " tones";
        if (!reason.empty()) {
            reading.tones.clear();
            reading.badLine = lineNumber;
            reading.reason = std::move(reason);
            return reading;
        }
        if (tone)
            reading.tones.push_back(*tone);
    }
    if (reading.tones.empty())
        reading.reason = "the list holds no tone";
    return reading;
}
