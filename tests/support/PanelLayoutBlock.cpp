// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/PanelLayoutBlock.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace {

std::string_view Trimmed(std::string_view line) {
    const auto first = line.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    const auto last = line.find_last_not_of(" \t\r");
    return line.substr(first, last - first + 1);
}

bool IsIdentChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

// "OnClick = Handler": an event property bound to a handler by name.
bool IsEventBinding(std::string_view line) {
    if (line.size() < 3 || line.substr(0, 2) != "On" || line[2] < 'A' || line[2] > 'Z')
        return false;
    const auto eq = line.find(" = ");
    if (eq == std::string_view::npos)
        return false;
    for (char c : line.substr(eq + 3))
        if (!IsIdentChar(c))
            return false;
    return true;
}

// How a line changes the block depth: "X: T {" and "P = bytes {" open one,
// a lone "}" closes one (a one-line "bytes { .. }" does neither).
int DepthChange(std::string_view line) {
    if (line.empty() || line.front() == '#')
        return 0;
    if (line == "}")
        return -1;
    return line.back() == '{' ? 1 : 0;
}

} // namespace

std::string LayoutBlock(std::string_view layout, std::string_view componentName) {
    const std::string opening = std::string(componentName) + ": ";
    std::string block;
    int depth = 0;
    std::size_t pos = 0;
    while (pos < layout.size()) {
        std::size_t end = layout.find('\n', pos);
        if (end == std::string_view::npos)
            end = layout.size();
        const std::string_view line = Trimmed(layout.substr(pos, end - pos));
        pos = end + 1;
        if (depth == 0) {
            if (line.substr(0, opening.size()) != opening || DepthChange(line) != 1)
                continue;
        } else if (IsEventBinding(line)) {
            continue;
        }
        depth += DepthChange(line);
        block.append(line).append("\n");
        if (depth == 0)
            return block;
    }
    throw std::runtime_error("the layout has no complete block for " + std::string(componentName));
}

std::string PanelLayoutBlock(std::string_view componentName) {
    std::ifstream file(ORBEL_PANEL_LAYOUT);
    if (!file)
        throw std::runtime_error(std::string("cannot read ") + ORBEL_PANEL_LAYOUT);
    std::ostringstream text;
    text << file.rdbuf();
    return LayoutBlock(text.str(), componentName);
}
