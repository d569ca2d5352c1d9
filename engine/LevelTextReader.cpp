// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/LevelTextReader.h"

#include "engine/VoltReference.h"

#include <charconv>
#include <cmath>

namespace {

bool IsAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool EqualsIgnoringCase(std::string_view text, std::string_view lower) {
    if (text.size() != lower.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (Lower(text[i]) != lower[i])
            return false;
    return true;
}

// The whole text as a finite decimal number ("1.5", "2", "-3e2"), as the
// other option readers take numbers.
std::optional<double> ParseNumber(std::string_view text) {
    double v = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, v, std::chars_format::general);
    if (text.empty() || ec != std::errc() || ptr != end || !std::isfinite(v))
        return std::nullopt;
    return v;
}

std::optional<LevelUnit> UnitFromSymbol(std::string_view symbol) {
    if (symbol.empty() || EqualsIgnoringCase(symbol, "dbfs"))
        return LevelUnit::DbFs;
    if (EqualsIgnoringCase(symbol, "dbu"))
        return LevelUnit::DbU;
    if (symbol.size() == 3 && EqualsIgnoringCase(symbol.substr(0, 2), "db") && symbol[2] == 'V')
        return LevelUnit::DbV;
    // [m]V, [m]Vrms, [m]Vpp
    const bool milli = symbol.front() == 'm';
    if (milli)
        symbol.remove_prefix(1);
    if (symbol.empty() || Lower(symbol.front()) != 'v')
        return std::nullopt;
    symbol.remove_prefix(1);
    if (symbol.empty() || EqualsIgnoringCase(symbol, "rms"))
        return milli ? LevelUnit::MilliVolts : LevelUnit::Volts;
    if (EqualsIgnoringCase(symbol, "pp"))
        return milli ? LevelUnit::MilliVoltsPeakToPeak : LevelUnit::VoltsPeakToPeak;
    return std::nullopt;
}

LevelTextReading RefusedReading(LevelRefusalReason reason) {
    return {std::nullopt, {reason, std::nullopt}};
}

} // namespace

LevelTextReading ReadLevelText(std::string_view text) {
    if (text.find(',') != std::string_view::npos)
        return RefusedReading(LevelRefusalReason::DecimalComma);
    std::size_t unitStart = text.size();
    while (unitStart > 0 && IsAsciiLetter(text[unitStart - 1]))
        --unitStart;
    const std::string_view symbol = text.substr(unitStart);
    std::string_view numberText = text.substr(0, unitStart);
    if (!symbol.empty())
        while (!numberText.empty() && numberText.back() == ' ')
            numberText.remove_suffix(1);
    // "+4dBu" is how a level above the reference is written; a plain number
    // keeps the sample level's grammar (no sign but a minus).
    if (!symbol.empty() && numberText.size() > 1 && numberText.front() == '+' &&
        numberText[1] != '-')
        numberText.remove_prefix(1);
    const std::optional<LevelUnit> unit = UnitFromSymbol(symbol);
    const std::optional<double> number = ParseNumber(numberText);
    if (!unit || !number)
        return RefusedReading(LevelRefusalReason::NotALevel);

    if (*unit == LevelUnit::DbFs) {
        // In hundredths first, so that -120.004 is -120.00 and may pass.
        const double hundredths = std::round(*number * 100) / 100;
        if (!(hundredths >= kLowestPeakLevelDb && hundredths <= kHighestPeakLevelDb))
            return RefusedReading(LevelRefusalReason::DbFsOutOfRange);
        return {WrittenLevel{hundredths == 0 ? 0.0 : hundredths, *unit}, {}}; // no -0
    }
    if (IsInVolts(*unit) && !(*number > 0))
        return RefusedReading(LevelRefusalReason::VoltsNotPositive);
    return {WrittenLevel{*number, *unit}, {}};
}
