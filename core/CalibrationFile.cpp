// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/CalibrationFile.h"

#include "core/CalibrationDate.h"
#include "core/Utf8.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <vector>

namespace {

constexpr std::string_view kFormatLine = "orbel-calibration 1";
constexpr std::string_view kHeading =
    "# The RMS volts a full-scale sine gives at each output's jack, measured\n"
    "# with a meter by \"orbel calibrate\", per output and channel, with the\n"
    "# output's volume then (65536 is 100 %). Volts hold only at that volume.\n";
constexpr std::string_view kHexDigits = "0123456789ABCDEF";

// Bytes a name keeps as they are: printable ASCII that is not a separator
// or the escape itself.
bool KeptAsIs(char c) {
    return c > ' ' && c < 0x7F && c != '%' && c != '#' && c != '=';
}

std::string EncodedName(std::string_view name) {
    std::string encoded;
    encoded.reserve(name.size());
    while (!name.empty()) {
        const std::size_t length = Utf8CharLength(name);
        // A whole non-ASCII character reads as itself, but for the C1
        // controls (U+0080..U+009F), which some terminals act on.
        const bool c1Control = length == 2 && static_cast<std::uint8_t>(name[0]) == 0xC2 &&
                               static_cast<std::uint8_t>(name[1]) < 0xA0;
        if (length > 1 && !c1Control) {
            encoded.append(name.substr(0, length));
            name.remove_prefix(length);
            continue;
        }
        const auto byte = static_cast<std::uint8_t>(name.front());
        if (length == 1 && KeptAsIs(name.front())) {
            encoded.push_back(name.front());
        } else {
            encoded.push_back('%');
            encoded.push_back(kHexDigits[byte >> 4]);
            encoded.push_back(kHexDigits[byte & 0xF]);
        }
        name.remove_prefix(1);
    }
    return encoded;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

std::optional<std::string> DecodedName(std::string_view encoded) {
    std::string name;
    while (!encoded.empty()) {
        const std::size_t length = Utf8CharLength(encoded);
        if (length > 1) {
            name.append(encoded.substr(0, length));
            encoded.remove_prefix(length);
        } else if (encoded.front() == '%') {
            if (encoded.size() < 3 || HexValue(encoded[1]) < 0 || HexValue(encoded[2]) < 0)
                return std::nullopt;
            name.push_back(static_cast<char>(HexValue(encoded[1]) * 16 + HexValue(encoded[2])));
            encoded.remove_prefix(3);
        } else if (KeptAsIs(encoded.front())) {
            name.push_back(encoded.front());
            encoded.remove_prefix(1);
        } else {
            return std::nullopt;
        }
    }
    if (name.empty())
        return std::nullopt;
    return name;
}

std::string VoltsText(double volts) {
    std::array<char, 64> digits{};
    const auto [end, ec] = std::to_chars(digits.data(), digits.data() + digits.size(), volts);
    return ec == std::errc() ? std::string(digits.data(), end) : std::string("0");
}

template <class Number> std::optional<Number> WholeNumber(std::string_view text) {
    Number value{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// "key=value" with this key; the value.
std::optional<std::string_view> Field(std::string_view field, std::string_view key) {
    if (field.size() <= key.size() || field.substr(0, key.size()) != key ||
        field[key.size()] != '=')
        return std::nullopt;
    return field.substr(key.size() + 1);
}

std::vector<std::string_view> SplitAt(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (;;) {
        const std::size_t at = text.find(separator);
        parts.push_back(text.substr(0, at));
        if (at == std::string_view::npos)
            return parts;
        text.remove_prefix(at + 1);
    }
}

struct Entry {
    std::string output;
    OutputChannel channel = OutputChannel::Left;
    ChannelCalibration calibration;
};

std::optional<Entry> ReadEntry(std::string_view line) {
    const std::vector<std::string_view> fields = SplitAt(line, ' ');
    if (fields.size() != 5)
        return std::nullopt;
    const auto output = Field(fields[0], "output");
    const auto channel = Field(fields[1], "channel");
    const auto volts = Field(fields[2], "volts");
    const auto date = Field(fields[3], "date");
    const auto volume = Field(fields[4], "volume");
    if (!output || !channel || !volts || !date || !volume)
        return std::nullopt;
    Entry entry;
    const std::optional<std::string> name = DecodedName(*output);
    const std::optional<double> fullScale = [&]() -> std::optional<double> {
        double value = 0;
        const auto [end, ec] = std::from_chars(volts->data(), volts->data() + volts->size(), value,
                                               std::chars_format::general);
        if (volts->empty() || ec != std::errc() || end != volts->data() + volts->size())
            return std::nullopt;
        return value;
    }();
    const std::optional<std::uint32_t> serverVolume = WholeNumber<std::uint32_t>(*volume);
    if (!name || !fullScale || !IsCalibrationVoltage(*fullScale) || !IsCalibrationDate(*date) ||
        !serverVolume || (*channel != "left" && *channel != "right"))
        return std::nullopt;
    entry.output = *name;
    entry.channel = *channel == "left" ? OutputChannel::Left : OutputChannel::Right;
    entry.calibration = {*fullScale, std::string(*date), *serverVolume};
    return entry;
}

void WriteEntry(std::string& text, const std::string& output, std::string_view channel,
                const ChannelCalibration& c) {
    text += "output=" + EncodedName(output) + " channel=" + std::string(channel) +
            " volts=" + VoltsText(c.fullScaleVolts) + " date=" + c.date +
            " volume=" + std::to_string(c.volume) + "\n";
}

} // namespace

std::string WriteCalibrationText(const CalibrationTable& table) {
    std::string text(kFormatLine);
    text += "\n";
    text += kHeading;
    for (const auto& [output, calibration] : table.Outputs()) {
        if (calibration.left)
            WriteEntry(text, output, "left", *calibration.left);
        if (calibration.right)
            WriteEntry(text, output, "right", *calibration.right);
    }
    return text;
}

std::optional<CalibrationTable> ReadCalibrationText(std::string_view text) {
    // Every line ends in a newline: a file cut off mid-line is damaged.
    if (text.empty() || text.back() != '\n')
        return std::nullopt;
    text.remove_suffix(1);
    CalibrationTable table;
    bool formatSeen = false;
    for (std::string_view line : SplitAt(text, '\n')) {
        if (line.empty() || line.front() == '#')
            continue;
        if (!formatSeen) {
            if (line != kFormatLine)
                return std::nullopt;
            formatSeen = true;
            continue;
        }
        const std::optional<Entry> entry = ReadEntry(line);
        if (!entry || table.Find(entry->output, entry->channel))
            return std::nullopt;
        const auto& outputs = table.Outputs();
        const auto known = outputs.find(entry->output);
        OutputCalibration calibration =
            known != outputs.end() ? known->second : OutputCalibration{};
        (entry->channel == OutputChannel::Left ? calibration.left : calibration.right) =
            entry->calibration;
        table.Replace(entry->output, calibration);
    }
    if (!formatSeen)
        return std::nullopt;
    return table;
}
